#pragma once
// TVDImage: the photo project, i.e. the order being assembled. One TPhoto record per photo,
// in the order added (0 is the first photo); the source files are never touched after
// decoding: every view and the output read the working copies kept in a private temporary
// project folder. Also computes the order's value and price.
//
// User-interface thread only. Adding runs in three steps so that many photos can be decoded
// on several cores (project/photobatch.h): ReservePhoto (names in the project folder),
// PreparePhoto (project/photoprep.h, any thread) and AppendPhoto. AddPhoto does all three.
//
// The lab's settings, the format catalogue and the user configuration come in through
// TProjectSettings and are read when needed (they change while the program runs). The
// project is built before the formats and the lab configuration, so start-up hands the
// settings over once all three exist.
#include "imaging/colour.h"
#include "imaging/imageinfo.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <vector>

class TConfig;
class TEngine;
class TFormats;
struct TPhotoSlot;
struct TRect;
struct TPreparedPhoto;
struct TSavedPhoto;

// One photo of the project.
struct TPhoto {
    QString sourcePath; // as added, never changed
    QString name; // the source path until renamed; its file-name part is shown
    QString workingPath; // full-size working copy (".sbm")
    QString previewPath; // preview copy ("prev_" + name + ".sbm")
    bool selected = false;
    bool thumbPending = true; // the thumbnail must be (re)made
    bool lowQuality = false; // the print would need enlargement
    QImage thumbnail; // 32-bit, thumbbitmapwidth x thumbbitmapheight at most
    ImageInfo info;
    Corrections corrections;
    int quantity = 1; // at least 1
    int formatId = -1; // -1: no format
};

// What the project reads from its surroundings; none may be null once photos are added.
struct TProjectSettings {
    const TConfig* config = nullptr; // preview and thumbnail sizes
    const TFormats* formats = nullptr; // sheet sizes, names and prices
    const TEngine* engine = nullptr; // output resolution, forceformat, order prices
};

class TVDImage {
public:
    explicit TVDImage(const TProjectSettings& settings = {})
        : settings_(settings)
    {
    }
    ~TVDImage(); // Clear(): the working copies go with the project, also with "-keeptmp"
    TVDImage(const TVDImage&) = delete;
    TVDImage& operator=(const TVDImage&) = delete;

    void SetSettings(const TProjectSettings& settings) { settings_ = settings; }

    // Called on every change of the project, or of a photo reached for writing (the non-const
    // Photo may report a photo that was only read); the project file's saver listens here.
    void SetChangeListener(std::function<void()> listener) { changeListener_ = std::move(listener); }

    // ---- per photo; an index outside 0..Count()-1 raises EListError ----
    const TPhoto& Photo(int index) const;
    TPhoto& Photo(int index);
    const std::vector<TPhoto>& Photos() const { return photos_; }
    QStringList SourcePaths() const;
    int SelectedCount() const;
    void SetAllSelected(bool selected);

    // ---- whole project ----
    int focus = -1;
    QString projectFolder; // empty until the first photo is reserved
    bool openingChargeApplied = false; // set by OrderPrice
    int defaultFormat = -1; // for new photos and "Przywróć oryginał"; Clear keeps it

    int Count() const { return int(photos_.size()); }
    int TotalQuantity() const;

    // Decodes the file and adds it with its working copies, thumbnail, quantity 1 and the
    // default format. False, with the project unchanged and no file left behind, when the
    // project folder cannot be made, the file cannot be decoded or a working copy cannot be
    // written (a full disk included).
    bool AddPhoto(const QString& path);

    // The steps of AddPhoto. ReservePhoto creates the project folder on first use (mode
    // 0700) and claims unique working-copy names by creating the files empty; false when the
    // folder or a name cannot be made. ReleasePhoto deletes a slot's files (a photo that is
    // not added). AppendPhoto adds a successfully prepared photo with the default format, or
    // with what the customer had set on it when saved is given (a project read back).
    bool ReservePhoto(const QString& path, TPhotoSlot& slot);
    static void ReleasePhoto(const TPhotoSlot& slot);
    void AppendPhoto(TPreparedPhoto&& photo, const TSavedPhoto* saved = nullptr);

    // Removes the photo and its working copies. The focus stays on its photo; when that
    // photo goes, the next one (or the last) takes it.
    void Delete(int index);
    void Clear();

    Corrections GetCorrections(int index) const;
    void SetCorrections(int index, const Corrections& record); // then UpdateLowQuality
    void SetFormat(int index, int formatId);
    void GetImageSize(int index, int& width, int& height) const;
    // Copies the thumbnail into picture when one is given.
    ImageInfo GetThumbInfo(int index, QImage* picture = nullptr) const;

    // Load a working copy; a missing or unreadable one gives an empty picture.
    void LoadPreview(int index, QImage& picture) const;
    void LoadFull(int index, QImage& picture) const;

    // Consumes picture (a preview copy): corrections, framing on the format's sheet, scaled
    // into the thumbnail box.
    void MakeThumbnail(int index, QImage& picture);
    void RefreshThumbnail(int index);
    void RefreshPendingThumbnails();
    // Marks a photo with a format whose crop (or whole picture, without one) would be
    // enlarged on the print.
    void UpdateLowQuality(int index);

    // The print image of a photo: full working copy, corrections, placed on a white sheet of
    // its format at the lab's output resolution (at its own size without a format). Writes
    // one log line with the time taken. The working copy is read a band of rows at a time
    // (project/outputrender.h), never whole.
    // Safe on worker threads, several at once (for the same photo or different ones) while
    // no thread changes the project: it only reads the photo's record, working-copy file and
    // the format catalogue and lab settings, and its log line joins the log on the
    // application's thread (core/log.h).
    void RenderOutput(int index, QImage& picture) const;
    // Empty when the photo's print sheet can be made; else the message telling the customer
    // that its format is too large (the sheet would exceed the picture limits).
    QString OutputSheetProblem(int index) const;

    // Sum of unit price x quantity in hundredths; photos without a known format add nothing.
    int PhotosValue() const;
    // PhotosValue plus the opening charge below the minimum (when one is configured) and,
    // withDelivery, the delivery price (cash or paid in advance); 0 for an order without value.
    int OrderPrice(bool withDelivery, bool payCash);

    // The print of a format at the lab's output resolution, always landscape; Left = -1 for
    // no format (-1).
    TRect OutputFormatRect(int formatId) const;

private:
    void CheckIndex(int index) const;
    void Changed() const
    {
        if (changeListener_)
            changeListener_();
    }

    TProjectSettings settings_;
    std::vector<TPhoto> photos_;
    // Per working-copy name wanted, the number its next copy tries first (name_N.sbm): adding
    // the same file name many times then costs one lookup a copy, not one per copy before it.
    // A number freed by a deleted photo is not given again; the names only need to be unique.
    std::map<QString, long long> nextNumbers_;
    std::function<void()> changeListener_;
};
