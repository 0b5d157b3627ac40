#pragma once
// TSkinner: the skin engine. It holds a colour scheme of ten named colours ("background",
// "color", "backgroundtext", "bordertop", "borderbottom", "border", "selected", "hot",
// "text", "selectedtext") and two sets of named pictures, icons for buttons and images for
// picture controls, read from one ".vdskin" file. The default scheme (the desktop's
// colours) is there from construction, so windows may ask for colours before any skin.
//
// Reading and colours are window-free (skinner.cpp, in vendaro_core); ApplyToControl,
// ApplyToPanel and ApplyToForm dress widgets by their class (ui/skinnerapply.cpp, in
// vendaro_ui, beside the controls it knows). Main thread only.
#include "skin/ffbitmap.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class QIODevice;
class QWidget;

// The ten colour names, in the order the default scheme is written.
inline constexpr std::array<const char*, 10> kSkinColorNames = { "background", "color", "backgroundtext", "bordertop",
    "borderbottom", "border", "selected", "hot", "text", "selectedtext" };

class TSkinner {
public:
    TSkinner();

    // Reads a skin file. True only when all three blocks were read. A file that cannot be
    // opened leaves the engine as it was; any other failure leaves the default scheme and no
    // pictures.
    bool LoadFromFile(const QString& path);

    // Frees all pictures and names and rebuilds the default colour scheme.
    void SetDefaults();

    // The colour of the first scheme line whose trimmed name equals `name` exactly (names
    // are lower case); the desktop's button face when there is none.
    QColor GetColor(const QString& name) const;

    // Scheme lines "name=value", as read or as the defaults wrote them.
    const QStringList& ColorScheme() const { return scheme_; }

    // Pictures, found by name: the name is lowered, then compared exactly; -1 when absent.
    int IconIndex(const QString& name) const;
    int ImageIndex(const QString& name) const;
    const QStringList& IconNames() const { return iconNames_; }
    const QStringList& ImageNames() const { return imageNames_; }
    const TFFBitmap& Icon(int index) const { return icons_[size_t(index)]; }
    const TFFBitmap& Image(int index) const { return images_[size_t(index)]; }
    bool IconsTransparent() const { return iconsTransparent_; }

    // The 24-bit icon or image of that name into target; false (target untouched) when the
    // name is absent or its picture is empty, so the control keeps its own.
    bool CopyIcon(const QString& name, QImage& target) const;
    bool CopyImage(const QString& name, QImage& target) const;

    // Dressing widgets (vendaro_ui). ApplyToControl sets the colours of one control by its
    // class; ApplyToPanel walks a TMousedPanel's children (nested panels first);
    // ApplyToForm colours the window and then every widget it holds, at any depth.
    void ApplyToControl(QWidget* control) const;
    void ApplyToPanel(QWidget* panel) const;
    void ApplyToForm(QWidget* form) const;

    // What the last LoadFromFile read besides colours and pictures (the names are not used by
    // the program), and why it failed, in English (for logs and the lab's tools).
    struct TFileFacts {
        QString colorBlockHeader;
        QString schemeName;
        QString iconSetName;
        QString imageSetName;
        QString error;
    };
    const TFileFacts& FileFacts() const { return facts_; }

    // Texts of the file format.
    static constexpr char kFileHeader[] = "VD: SkinFilev1";
    static constexpr char kColorsV1Header[] = "VD: ColorSchemeFile";
    static constexpr char kColorsV2Header[] = "VD: ColorSchemeFilev2";
    static constexpr char kIconsHeader[] = "VD: IconsSchemev1";
    static constexpr char kImagesHeader[] = "VD: ImagesSchemev1";

private:
    bool Fail(const QString& reason);
    bool ReadColorBlock(QIODevice& file);
    bool ReadIconsBlock(QIODevice& file);
    bool ReadImagesBlock(QIODevice& file);
    void ClearIcons();
    void ClearImages();

    QStringList scheme_;
    QStringList iconNames_;
    std::vector<TFFBitmap> icons_;
    bool iconsTransparent_ = false;
    QStringList imageNames_;
    std::vector<TFFBitmap> images_;
    TFileFacts facts_;
};

// The scheme line of a version-1 colour block in today's names (one or two lines, or none
// for a name the old format did not know).
QStringList TranslateVersion1ColorLine(const QString& line);
