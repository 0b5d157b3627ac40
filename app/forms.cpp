#include "app/forms.h"

#include "app/usplash.h"
#include "core/ulog.h"
#include "editing/uformat.h"
#include "editing/upreview.h"
#include "lab/unet.h"
#include "project/umain.h"
#include "ui/uabout.h"
#include "ui/umydialog.h"
#include "ui/upleasewait.h"
#include "ui/utip.h"

template <typename TForm> TForm* TForms::Create()
{
    auto form = std::make_unique<TForm>();
    TForm* pointer = form.get();
    created_.push_back(std::move(form));
    return pointer;
}

TForms::TForms()
{
    fmain = Create<Tfmain>();
    fsplash = Create<Tfsplash>();
    fwait = Create<Tfwait>();
    flog = Create<Tflog>();
    fdialog = Create<Tfdialog>();
    // Tfedit, Tfcrop
    fformat = Create<Tfformat>();
    fnet = Create<Tfnet>();
    fpreview = Create<Tfpreview>();
    // Tfsettings
    fabout = Create<Tfabout>();
    // Tfsave
    ftip = Create<Tftip>();
    // Tfsendorder, Tflogin, Tfhistory, Tfgetshop, Tfprovider, Tfvirtual, Tfdotransfer, Tftransfer
    fmain->SetLogWindow(flog);
    fmain->AttachWindow(TMainLink::About, [this] { return fabout->exec(); });
    fmain->AttachWindow(TMainLink::Tip, [this] { return ftip->exec(); });
}

TForms::~TForms()
{
    while (!created_.empty())
        created_.pop_back();
}
