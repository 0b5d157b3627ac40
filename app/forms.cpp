#include "app/forms.h"

#include "app/usplash.h"
#include "core/ulog.h"
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
    // Tfedit, Tfcrop, Tfformat
    fnet = Create<Tfnet>();
    // Tfpreview, Tfsettings
    fabout = Create<Tfabout>();
    // Tfsave
    ftip = Create<Tftip>();
    // Tfsendorder, Tflogin, Tfhistory, Tfgetshop, Tfprovider, Tfvirtual, Tfdotransfer, Tftransfer
    fmain->SetLogWindow(flog);
}

TForms::~TForms()
{
    while (!created_.empty())
        created_.pop_back();
}
