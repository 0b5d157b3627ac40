#pragma once
// The lab's configuration: the installed, stamped config/engine.ini (program name, sources of
// the formats and shops, FTP account and folders, web addresses, authorisation key) and the
// stamped settings file fetched at every start (resolution, features, company data, order
// pages and prices). Also owns the shop list; net/labfetch.h brings the files in.
#include "lab/shoplist.h"

#include <QString>

#include <memory>

class TEngine {
public:
    TEngine();
    ~TEngine();
    TEngine(const TEngine&) = delete;
    TEngine& operator=(const TEngine&) = delete;

    // Results of the two loaders.
    static constexpr int kLoaded = 1;
    static constexpr int kFailed = -1;
    static constexpr int kBadStamp = -2;

    // config/engine.ini
    int LoadLabConfig();
    // engine_settmp.ini (net/labfetch.h brings it in)
    int LoadSettings();
    // The lab itself (unless "noshop") and the shops of shopsTMP.txt; false when the file
    // does not load or the list stays empty.
    bool BuildShopList();

    static QString ComputeStamp(const QString& path);

    std::unique_ptr<TShopList> shopList;

    // engine.ini
    QString progname;
    QString formatsProtocol; // "file", "http" or "https"
    QString formatsSource;
    QString shopsProtocol; // empty when the lab has no shop list file
    QString shopsSource;
    QString host; // FTP server, "host" or "host:port"
    QString user; // deciphered
    QString pass; // deciphered
    QString orderpath;
    QString virtual_; // the key "virtual"
    int tls = 0; // FTP over TLS: 0 plain, 1 when the server offers it, 2 (or more) required
    QString newsseed;
    QString newspath;
    QString updateseed;
    QString updatepath;
    QString settings;
    QString authkey; // deciphered

    // the settings file
    int outputdpi = 0;
    int mindpi = 0;
    bool forceformat = false;
    int formatmargin = 0;
    bool usenews = false;
    bool useupdates = false;
    QString orderid;
    QString name;
    QString owner;
    QString person;
    QString street;
    QString city;
    QString phone;
    QString email;
    QString www;
    QString bank;
    bool noshop = false;
    bool personal = false;
    bool paycash = false;
    bool paytransfer = false;
    bool paycard = false;
    bool vat = false;
    QString loginscript;
    QString postorderpage;
    QString newuserpage;
    bool pack = false;
    int delivery_price = 0;
    int delivery_pricepre = 0;
    int min_price = 0;
    int open_price = 0;
    int minphotos = 0;
};

// The program-folder names of the files the engine brings in; all are deleted at exit.
inline constexpr char kEngineIni[] = "config/engine.ini";
inline constexpr char kSettingsTmp[] = "engine_settmp.ini";
inline constexpr char kFormatsTmp[] = "formatsTMP.txt";
inline constexpr char kShopsTmp[] = "shopsTMP.txt";
