#pragma once
// The user's own preferences, stored in config/config.ini under the program folder.
#include <QFont>
#include <QSize>
#include <QString>

class TConfig {
public:
    TConfig(); // the built-in values of the key table in core.cpp

    // [flags]: which confirmation questions are still asked.
    bool fexit;
    bool fdelete;
    bool fPickDefFormat;
    bool fShowTip;
    // [editor]: crop window.
    int cropalpha;
    int cropbackground;
    // [net]
    bool passive;
    static constexpr int kBuiltInTimeout = 30000;
    int timout; // milliseconds; the key is spelled this way
    bool useproxy;
    QString proxy_host;
    QString proxy_port;
    QString proxy_login; // stored enciphered
    QString proxy_pass; // stored enciphered
    int proxy_ftp_type;
    // [va]: virtual account.
    QString savepath;
    QString loadpath;
    QString id;
    // [thumbs]: thumbnail grid.
    int thumbborder;
    int thumbbitmapwidth;
    int thumbbitmapheight;
    int thumbspace;
    bool thumbname;
    bool thumbprice;
    bool thumbsize;
    bool thumbresolution;
    // [window]: the main window as the customer left it; a width or height of 0 means that it
    // has never closed (the first start).
    int windowleft;
    int windowtop;
    int windowwidth;
    int windowheight;
    bool windowmaximized;
    // [folders]: where the file dialogs were used last (see core/dialogfolders.h).
    QString photofolder;
    QString accountfolder;
    QString savefolder;

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
    // Writes every key in one write of the file, owner-only (the file holds proxy
    // credentials). False when the file cannot be written.
    bool Save() const;

    // The time-out every network client uses: timout, or the built-in 30000 ms (logged) when
    // the stored value is 0 or less, which would mean 1 ms or no time-out to a client.
    int NetworkTimeout() const;

    // cellWidth and cellHeight from the thumbnail settings and the height of the text lines
    // under a thumbnail in surfaceFont.
    void InitThumbSizes(const QFont& surfaceFont);
    // The rule InitThumbSizes applies: a picture area of pictureWidth x pictureHeight with border
    // round it, and `lines` lines of text in font under it (2 pixels more when there are any).
    static QSize ThumbCellSize(int pictureWidth, int pictureHeight, int border, int lines, const QFont& font);

    // The skin chosen in config/skin.ini ("domyslna" when unset), without folder or extension.
    static QString SelectedSkinName();
    static bool SetSelectedSkinName(const QString& name);
    // AppDir/skins/<name>.vdskin when that file exists, else an empty string.
    static QString SelectedSkinFile();
    // The file of the skin called name in the skins folder, its letter case ignored (the
    // settings window lists "Grafit" for grafit.vdskin); empty when there is none.
    static QString SkinFile(const QString& name);
};
