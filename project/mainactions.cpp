// The main window's actions on the project: what each checks, asks and changes.
#include "project/umain.h"

#include "core/core.h"
#include "core/coreobjects.h"
#include "core/log.h"
#include "lab/vdengine.h"
#include "project/numbertext.h"
#include "project/photobatch.h"
#include "project/photofiles.h"
#include "project/projectfile.h"
#include "project/projectfolder.h"
#include "project/projectinput.h"
#include "project/projectsaver.h"
#include "project/selection.h"
#include "project/thumbview.h"
#include "project/uvdimage.h"
#include "ui/appevents.h"
#include "ui/filedialogs.h"
#include "ui/gradientprogressbar.h"
#include "ui/umydialog.h"
#include "ui/upleasewait.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QScopeGuard>

#include <algorithm>

namespace {

// How long the window waits for the next decoded photo before it handles its events again.
constexpr int kPollMs = 20;

TVDImage& Project()
{
    return *Core().vdimage;
}
TConfig& Config()
{
    return *Core().config;
}
const TEngine& Engine()
{
    return *Core().engine;
}

// The wait window with its progress bar and the hourglass, closed on every way out.
class TWaitScope {
public:
    explicit TWaitScope(QWidget* owner)
    {
        fwait().ShowWait(owner, true);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~TWaitScope()
    {
        QApplication::restoreOverrideCursor();
        fwait().close();
    }
    TWaitScope(const TWaitScope&) = delete;
    TWaitScope& operator=(const TWaitScope&) = delete;

    static void Progress(int done, int total) { fwait().pb->SetPosition(done * 100 / std::max(total, 1)); }
};

// A photo that did not fit on the disk gets one message naming it, the folder and the space;
// true then, and the photos after it are not tried.
bool ShowedNoRoom(const TPreparedPhoto& photo)
{
    if (photo.spaceNeeded <= 0)
        return false;
    fdialog().Error(NoRoomMessage(
        QFileInfo(photo.slot.sourcePath).fileName(), Project().projectFolder, photo.spaceNeeded, photo.spaceAvailable));
    return true;
}

bool AskText(QWidget* parent, const QString& caption, const QString& prompt, QString& text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, text, &ok);
    if (ok)
        text = answer;
    return ok;
}

} // namespace

bool Tfmain::AskFormatFirst()
{
    TVDImage& project = Project();
    if (!Engine().forceformat || project.defaultFormat != -1)
        return true;
    fdialog().InformationOnce(QStringLiteral("Wybierz domyślny format zdjęć ..."), Config().fPickDefFormat);
    const int format = OpenAttached(TMainLink::PickDefaultFormat);
    if (format < 0)
        return false;
    project.defaultFormat = format;
    return true;
}

void Tfmain::aaddphotosExecute()
{
    if (!AskFormatFirst())
        return;
    AddFiles(ChooseFiles(*od, TDialogPurpose::AddPhotos));
}

void Tfmain::AddFiles(const QStringList& files)
{
    if (files.isEmpty())
        return;
    TVDImage& project = Project();
    TakeDecoded(files, [&](int, TPreparedPhoto& photo) {
        if (photo.ok) {
            project.AppendPhoto(std::move(photo));
            UpdateScrollRange();
            return true;
        }
        LogFailedPhoto(photo);
        if (ShowedNoRoom(photo))
            return false;
        const QString name = QFileInfo(photo.slot.sourcePath).fileName();
        return fdialog().Question(QStringLiteral("Nie można dodać zdjęcia (") + name
                + QStringLiteral(") !\rCzy chcesz próbować dodać resztę zdjęć ?"),
            diError);
    });
    AfterDecoding();
}

void Tfmain::TakeDecoded(const QStringList& files, const std::function<bool(int, TPreparedPhoto&)>& take)
{
    adding_ = true; // before the wait window lets events through
    const auto done = qScopeGuard([this] { adding_ = false; });
    TWaitScope wait(this);
    TPhotoBatch batch(Project(), files, Config().previewSize);
    for (int i = 0; i < batch.Count() && !closeWhenAdded_; ++i) {
        TPreparedPhoto photo;
        while (!batch.TakeNext(photo, kPollMs) && !closeWhenAdded_)
            QCoreApplication::processEvents();
        if (closeWhenAdded_ || !take(i, photo))
            break;
        TWaitScope::Progress(i + 1, batch.Count());
    }
}

void Tfmain::AfterDecoding()
{
    AfterProjectChange();
    if (closeWhenAdded_) {
        closeWhenAdded_ = false;
        close();
    }
}

void Tfmain::OfferSavedProject(const QString& path)
{
    const std::optional<TSavedProject> saved = ReadProjectFile(path);
    if (!saved || saved->photos.empty())
        return;
    const QString question
        = QStringLiteral("Przywrócić poprzedni projekt (") + PhotoCount(saved->photos.size()) + QStringLiteral(") ?");
    if (fdialog().Question(question, diQuestion))
        RestoreProject(*saved);
    else
        WriteProjectFile(path, {});
}

void Tfmain::RestoreProject(const TSavedProject& saved)
{
    TVDImage& project = Project();
    QStringList sources;
    for (const TSavedPhoto& photo : saved.photos)
        sources << photo.sourcePath;
    QStringList missing;
    std::vector<int> restored;
    bool noRoom = false;
    {
        TProjectSavePause pause; // the file keeps the whole project until every photo is back
        TakeDecoded(sources, [&](int index, TPreparedPhoto& photo) {
            if (photo.ok) {
                project.AppendPhoto(std::move(photo), &saved.photos[std::size_t(index)]);
                restored.push_back(index);
                UpdateScrollRange();
                return true;
            }
            LogFailedPhoto(photo);
            noRoom = ShowedNoRoom(photo);
            if (!noRoom)
                missing << photo.slot.sourcePath;
            return !noRoom;
        });
        // Cut short: the file keeps the whole project for the next start.
        if (closeWhenAdded_ || noRoom)
            if (TProjectSaver* saver = TProjectSaver::Current())
                saver->Stop();
        project.defaultFormat = saved.defaultFormat;
        project.focus = RestoredFocus(saved.focus, restored);
    }
    Log(QStringLiteral("Project restored: %1 of %2 photos").arg(restored.size()).arg(saved.photos.size()), 1);
    const bool closing = closeWhenAdded_;
    AfterDecoding(); // the warning then stands over the restored photos
    if (!missing.isEmpty() && !closing)
        fdialog().Warning(MissingSourcesMessage(missing));
}

void Tfmain::OpenPaths(const QStringList& paths)
{
    if (AskFormatFirst())
        AddFiles(ExpandDroppedPaths(paths));
}

void Tfmain::RegenerateThumbnails()
{
    {
        TWaitScope wait(this);
        TVDImage& project = Project();
        for (int i = 0; i < project.Count(); ++i) {
            if (project.Photo(i).thumbPending)
                project.RefreshThumbnail(i);
            TWaitScope::Progress(i + 1, project.Count());
        }
    }
    RepaintGrid();
}

void Tfmain::anewprojectExecute()
{
    if (!sendOrderShowing_ && !fdialog().Question(QStringLiteral("Wyczyścić zamówienie ?"), diQuestion))
        return;
    Project().Clear();
    AfterProjectChange();
}

void Tfmain::adeleteExecute()
{
    if (!fdialog().QuestionOnce(
            QStringLiteral("Na pewno usunąć zaznaczone pliki z projektu ?"), Config().fdelete, diQuestion))
        return;
    TVDImage& project = Project();
    for (int i = 0; i < project.Count();) {
        if (project.Photo(i).selected)
            project.Delete(i);
        else
            ++i;
    }
    AfterProjectChange();
}

void Tfmain::arenameExecute()
{
    TVDImage& project = Project();
    const int focus = project.focus;
    QString& name = project.Photo(focus).name;
    QString text = QFileInfo(name).fileName();
    if (AskText(this, QStringLiteral("Vendaro"), QStringLiteral("Zmień nazwę:"), text)) {
        const QString renamed = RenamedName(name, text);
        if (!renamed.isEmpty())
            name = renamed;
    }
    RepaintCell(focus);
}

void Tfmain::aquantityExecute()
{
    TVDImage& project = Project();
    QString value = QString::number(project.Photo(project.focus).quantity);
    if (project.SelectedCount() == 0) {
        project.Photo(project.focus).selected = true;
        RepaintCell(project.focus);
    }
    const QString prompt = QStringLiteral("Ilość odbitek (zdjęć: %1)").arg(project.SelectedCount());
    if (!AskText(this, ApplicationTitle(), prompt, value))
        return;
    int quantity = 0;
    switch (ParseQuantity(value, quantity)) {
    case TQuantityInput::Zero:
        fdialog().Warning(QStringLiteral("Nie można ustawić ilości na zero !\rJeśli chcesz usunąć zdjęcie z projektu, "
                                         "zaznacz je i wybierz \"Usuń\" !"));
        return;
    case TQuantityInput::Invalid:
        fdialog().Error(QStringLiteral("Nieprawidłowa ilość !"));
        return;
    case TQuantityInput::Valid:
        for (int i = 0; i < project.Count(); ++i)
            if (project.Photo(i).selected)
                project.Photo(i).quantity = quantity;
        RepaintGrid();
    }
}

void Tfmain::aresetExecute()
{
    if (!fdialog().Question(QStringLiteral("Przywrócić zdjęcie do oryginalnej formy ?"), diQuestion))
        return;
    TVDImage& project = Project();
    const int focus = project.focus;
    Corrections record;
    InitCorrections(record);
    project.SetCorrections(focus, record);
    project.SetFormat(focus, project.defaultFormat);
    project.RefreshThumbnail(focus);
    RepaintCell(focus);
}

void Tfmain::aeditphotoExecute()
{
    OpenAttached(TMainLink::EditPhoto);
    RepaintGrid();
}

void Tfmain::acropExecute()
{
    OpenAttached(TMainLink::CropPhoto);
    RepaintGrid();
}

void Tfmain::aformatExecute()
{
    OpenAttached(TMainLink::Format);
}

void Tfmain::apreviewExecute()
{
    if (const QString problem = Project().OutputSheetProblem(Project().focus); !problem.isEmpty()) {
        fdialog().Error(problem);
        return;
    }
    OpenAttached(TMainLink::Preview);
}

void Tfmain::aselallExecute()
{
    SelectAll(Project());
    RepaintGrid();
}

void Tfmain::aselinvExecute()
{
    InvertSelection(Project());
    RepaintGrid();
}

void Tfmain::aselnoneExecute()
{
    SelectNone(Project());
    RepaintGrid();
}

void Tfmain::asendorderExecute()
{
    TVDImage& project = Project();
    const int minphotos = Engine().minphotos;
    if (minphotos >= 0 && project.TotalQuantity() < minphotos) {
        fdialog().Information(QStringLiteral("Minimalna ilość zdjęć do wysłania to %1").arg(minphotos));
        return;
    }
    const std::vector<TPhoto>& photos = project.Photos();
    if (std::any_of(photos.begin(), photos.end(), [](const TPhoto& photo) { return photo.lowQuality; })
        && !fdialog().QuestionWarning(
            QStringLiteral("UWAGA !\rCzęść zdjęć jest słabej jakości co może powodować efekt \"ziarnistości\" na "
                           "wywołanych zdjęciach ! Użyj opcji \"podgląd końcowy\" aby zobaczyć jak wyglądać może "
                           "zdjęcie po wywołaniu.\rCzy nadal chcesz wysłać zlecenie ?")))
        return;
    WhileSendingOrder([this] { OpenAttached(TMainLink::SendOrder); });
}

void Tfmain::WhileSendingOrder(const std::function<void()>& send)
{
    sendOrderShowing_ = true;
    const auto done = qScopeGuard([this] { sendOrderShowing_ = false; });
    send();
}

void Tfmain::asettingsExecute()
{
    if (OpenAttached(TMainLink::Settings) != kThumbSettingsChanged)
        return;
    TVDImage& project = Project();
    for (int i = 0; i < project.Count(); ++i)
        project.Photo(i).thumbPending = true;
    RegenerateThumbnails();
    AfterProjectChange();
}

bool Tfmain::ConfirmExit()
{
    return fdialog().QuestionOnce(QStringLiteral("Zakończyć pracę programu ?"), Config().fexit, diQuestion);
}

void Tfmain::aexitExecute()
{
    if (ConfirmExit())
        close();
}
