#pragma once
// Every window of the program, created once at start in a fixed order (the first is the
// main window) and destroyed in the reverse order when the program ends. Windows that come
// with later parts of the program join the list in forms.cpp, at their place in the order.
#include <QWidget>

#include <memory>
#include <vector>

class Tfabout;
class Tfcrop;
class Tfdialog;
class Tfedit;
class Tfformat;
class Tfgetshop;
class Tfhistory;
class Tflogin;
class Tflog;
class Tfmain;
class Tfnet;
class Tfpreview;
class Tfprovider;
class Tfsave;
class Tfsendorder;
class Tfsettings;
class Tfsplash;
class Tftip;
class Tfdotransfer;
class Tftransfer;
class Tfvirtual;
class Tfwait;

class TForms {
public:
    TForms();
    ~TForms();
    TForms(const TForms&) = delete;
    TForms& operator=(const TForms&) = delete;

    Tfmain* fmain = nullptr;
    Tfsplash* fsplash = nullptr;
    Tfwait* fwait = nullptr;
    Tflog* flog = nullptr;
    Tfdialog* fdialog = nullptr;
    Tfedit* fedit = nullptr;
    Tfcrop* fcrop = nullptr;
    Tfformat* fformat = nullptr;
    Tfnet* fnet = nullptr;
    Tfpreview* fpreview = nullptr;
    Tfsettings* fsettings = nullptr;
    Tfabout* fabout = nullptr;
    Tfsave* fsave = nullptr;
    Tftip* ftip = nullptr;
    Tfsendorder* fsendorder = nullptr;
    Tflogin* flogin = nullptr;
    Tfhistory* fhistory = nullptr;
    Tfgetshop* fgetshop = nullptr;
    Tfprovider* fprovider = nullptr;
    Tfvirtual* fvirtual = nullptr;
    Tfdotransfer* fdotransfer = nullptr;
    Tftransfer* ftransfer = nullptr;

private:
    template <typename TForm> TForm* Create();

    std::vector<std::unique_ptr<QWidget>> created_;
};
