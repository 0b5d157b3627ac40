#include "app/forms.h"

#include "account/udotransfer.h"
#include "account/utransfer.h"
#include "account/uvirtual.h"
#include "app/uabout.h"
#include "app/usettings.h"
#include "app/usplash.h"
#include "app/utip.h"
#include "core/coreobjects.h"
#include "editing/ucrop.h"
#include "editing/uedit.h"
#include "editing/uformat.h"
#include "editing/upreview.h"
#include "editing/usave.h"
#include "net/proxytest.h"
#include "order/ugetshop.h"
#include "order/uhistory.h"
#include "order/ulogin.h"
#include "order/uprovider.h"
#include "order/usendorder.h"
#include "project/umain.h"
#include "project/uvdimage.h"
#include "ui/ulog.h"
#include "ui/umydialog.h"
#include "ui/unet.h"
#include "ui/upleasewait.h"

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
    fedit = Create<Tfedit>();
    fcrop = Create<Tfcrop>();
    fformat = Create<Tfformat>();
    fnet = Create<Tfnet>();
    fpreview = Create<Tfpreview>();
    fsettings = Create<Tfsettings>();
    fabout = Create<Tfabout>();
    fsave = Create<Tfsave>();
    ftip = Create<Tftip>();
    fsendorder = Create<Tfsendorder>();
    flogin = Create<Tflogin>();
    fhistory = Create<Tfhistory>();
    fgetshop = Create<Tfgetshop>();
    fprovider = Create<Tfprovider>();
    fvirtual = Create<Tfvirtual>();
    fdotransfer = Create<Tfdotransfer>();
    ftransfer = Create<Tftransfer>();
    fmain->SetLogWindow(flog);
    fmain->AttachWindow(TMainLink::About, [this] { return fabout->exec(); });
    fmain->AttachWindow(TMainLink::Tip, [this] { return ftip->exec(); });
    fmain->AttachWindow(TMainLink::EditPhoto, [this] {
        fedit->EditPhoto(Core().vdimage->focus);
        return 0;
    });
    fmain->AttachWindow(TMainLink::CropPhoto, [this] {
        fcrop->CropPhoto(Core().vdimage->focus);
        return 0;
    });
    fmain->AttachWindow(TMainLink::Save, [this] { return fsave->exec(); });
    fmain->AttachWindow(TMainLink::Format, [this] {
        fformat->AssignFormat();
        return 0;
    });
    fmain->AttachWindow(TMainLink::PickDefaultFormat, [this] { return fformat->PickFormat(true); });
    fmain->AttachWindow(TMainLink::Preview, [this] {
        fpreview->ShowPrint(Core().vdimage->focus);
        return 0;
    });
    fsendorder->SetLinks({ [this] { return flogin->Login(); }, [this] { flogin->ForgetUser(); },
        [this](int preselectId) { return fgetshop->PickShop(preselectId); },
        [this] { fmain->anewproject->trigger(); } });
    fmain->AttachWindow(TMainLink::SendOrder, [this] { return fsendorder->exec(); });
    fmain->AttachWindow(TMainLink::History, [this] { return fhistory->exec(); });
    fprovider->SetActiveShopsLink([this] { fgetshop->ShowActiveShops(); });
    fmain->AttachWindow(TMainLink::Provider, [this] { return fprovider->exec(); });
    fvirtual->SetBrowserLink(
        [this](const TAccountFacts& facts, const QString& description) { ftransfer->ShowAccount(facts, description); });
    ftransfer->SetLinks({ [this](const TAccountFacts& account, const QStringList& names, const QList<int64_t>& sizes) {
                             fdotransfer->SetAccount(account);
                             fdotransfer->OpenDownload(names, sizes);
                         },
        [this](const TAccountFacts& account) {
            fdotransfer->SetAccount(account);
            fdotransfer->OpenUpload();
            return fdotransfer->Account().free;
        } });
    fmain->AttachWindow(TMainLink::Virtual, [this] { return fvirtual->exec(); });
    fmain->AttachWindow(TMainLink::Settings, [this] { return fsettings->exec(); });
    fsettings->SetProxyTestLink(
        [](const TProxyTestInput& input, const TProxyTestListener& listener) { return RunProxyTest(input, listener); });
}

TForms::~TForms()
{
    while (!created_.empty())
        created_.pop_back();
}
