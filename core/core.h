#pragma once
// The user's own preferences, stored in config/config.ini under the program folder.
#include <QFont>
#include <QString>

class TConfig {
public:
    TConfig() = default; // the built-in values below

    // [flags]: which confirmation questions are still asked.
    bool fexit = true;
    bool fdelete = true;
    bool fPickDefFormat = true;
    bool fShowTip = true;
    // [editor]: crop window.
    int cropalpha = 64;
    int cropbackground = -1;
    // [net]
    bool passive = false;
    static constexpr int kBuiltInTimeout = 30000;
    int timout = kBuiltInTimeout; // milliseconds; the key is spelled this way
    bool useproxy = false;
    QString proxy_host;
    QString proxy_port = QStringLiteral("0");
    QString proxy_login; // stored enciphered
    QString proxy_pass;  // stored enciphered
    int proxy_ftp_type = 0;
    // [va]: virtual account.
    QString savepath;
    QString loadpath;
    QString id;
    // [thumbs]: thumbnail grid.
    int thumbborder = 5;
    int thumbbitmapwidth = 140;
    int thumbbitmapheight = 140;
    int thumbspace = 5;
    bool thumbname = true;
    bool thumbprice = true;
    bool thumbsize = false;
    bool thumbresolution = false;

    // Not stored.
    int previewSize = 800;
    int editStep = 5;
    int cellWidth = 0;
    int cellHeight = 0;

    static QString FileName(); // config/config.ini where it is read (AppPath); Save writes it

    // Reads every key when config.ini exists (a missing key takes its default; a thumbnail
    // size outside 100..180, border outside 0..10 or gap outside 0..100 takes its built-in
    // value and is logged) and then
    // computes the cell size for surfaceFont; does nothing when the file is missing.
    // A protected value that does not decode keeps its built-in value and is logged.
    void Load(const QFont& surfaceFont = QFont());
    // Writes every key, owner-only (the file holds proxy credentials). False when the file
    // cannot be written.
    bool Save() const;

    // The time-out every network client uses: timout, or the built-in 30000 ms (logged) when
    // the stored value is 0 or less, which would mean 1 ms or no time-out to a client.
    int NetworkTimeout() const;

    // cellWidth and cellHeight from the thumbnail settings and the height of the text lines
    // under a thumbnail in surfaceFont.
    void InitThumbSizes(const QFont& surfaceFont);

    // The skin chosen in config/skin.ini ("domyslna" when unset), without folder or extension.
    static QString SelectedSkinName();
    static bool SetSelectedSkinName(const QString& name);
    // AppDir/skins/<name>.vdskin when that file exists, else an empty string.
    static QString SelectedSkinFile();
};
