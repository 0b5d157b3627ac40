#include "project/projectfile.h"

#include "core/log.h"
#include "platform/appdir.h"
#include "project/uvdimage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

namespace {

const QByteArray kMagic = QByteArrayLiteral("vendaro-project");
// Characters a percent-encoded path keeps literal besides letters, digits and "-._~".
const QByteArray kKeptInPaths = QByteArrayLiteral("/");
constexpr int kCorrectionValues = 21;
constexpr int kPhotoFields = 3 + kCorrectionValues + 2; // after "photo"
constexpr int kMaxQuantity = 99;
constexpr int kMaxPathLength = 4096;

void AppendNumber(QByteArray& line, long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(' ').append(digits, end - digits);
}

void AppendNumber(QByteArray& line, float value)
{
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line.append(' ').append(digits, end - digits);
}

void AppendPath(QByteArray& line, const QString& path)
{
    line.append(' ').append(QFile::encodeName(path).toPercentEncoding(kKeptInPaths));
}

// The whole field as a number within [low, high].
std::optional<long long> Integer(const QByteArray& field, long long low, long long high)
{
    long long value = 0;
    const char* end = field.constData() + field.size();
    const auto [ptr, error] = std::from_chars(field.constData(), end, value);
    if (error != std::errc() || ptr != end || field.isEmpty() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<float> Fraction(const QByteArray& field)
{
    float value = 0;
    const char* end = field.constData() + field.size();
    const auto [ptr, error] = std::from_chars(field.constData(), end, value);
    if (error != std::errc() || ptr != end || field.isEmpty() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString Path(const QByteArray& field)
{
    for (const char c : field)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F)
            return {};
    return QFile::decodeName(QByteArray::fromPercentEncoding(field));
}

bool CleanAbsolute(const QString& path)
{
    return path.startsWith(u'/') && path.size() <= kMaxPathLength && !path.contains(QChar(0))
        && QDir::cleanPath(path) == path;
}

// The name stays in the source's folder (or below it, as a typed rename may put it).
bool NameBesideSource(const QString& name, const QString& source)
{
    if (!CleanAbsolute(name))
        return false;
    QString folder = QFileInfo(source).path();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return name.size() > folder.size() && name.startsWith(folder);
}

// Fractions of the picture; without a crop (left = kNoCrop) the others are kept as they are.
bool ValidCrop(const CropFractions& crop)
{
    const auto fraction = [](float value) { return value >= 0.0f && value <= 1.0f; };
    return (crop.left == kNoCrop || fraction(crop.left)) && fraction(crop.top) && fraction(crop.width)
        && fraction(crop.height) && fraction(crop.right) && fraction(crop.bottom);
}

class TParser {
public:
    explicit TParser(const QByteArray& text)
        : lines_(text.split('\n'))
    {
    }

    std::optional<TSavedProject> Parse()
    {
        if (lines_.isEmpty() || !lines_.back().isEmpty())
            return Fail("the last line is not ended");
        lines_.removeLast();
        const QList<QByteArray> header = Fields(kMagic, 1);
        if (header.isEmpty())
            return Fail("not a project file");
        if (header[1] != QByteArray::number(kProjectFileVersion))
            return Fail("unknown version " + QString::fromLatin1(header[1].left(16)));
        const std::optional<long long> focus = Number("focus", -1, INT_MAX);
        const std::optional<long long> defaultFormat = Number("default-format", -1, INT_MAX);
        if (!focus || !defaultFormat)
            return std::nullopt;
        TSavedProject project;
        project.defaultFormat = int(*defaultFormat);
        while (next_ < lines_.size() && lines_[next_].startsWith("photo ")) {
            std::optional<TSavedPhoto> photo = Photo(Fields("photo", kPhotoFields));
            if (!photo)
                return std::nullopt;
            project.photos.push_back(std::move(*photo));
        }
        const std::optional<long long> count = Number("end", 0, INT_MAX);
        if (!count)
            return std::nullopt;
        if (*count != qsizetype(project.photos.size()))
            return Fail("the photo count does not match");
        if (next_ != lines_.size())
            return Fail("text after the end line");
        if (*focus >= qsizetype(project.photos.size()))
            return Fail("the focus is out of range");
        project.focus = int(*focus);
        return project;
    }

    QString problem;

private:
    std::nullopt_t Fail(const QString& why)
    {
        if (problem.isEmpty())
            problem = next_ > 0 ? QStringLiteral("line %1: %2").arg(next_).arg(why) : why;
        return std::nullopt;
    }

    // The next line's fields when it is key with exactly values more; empty otherwise.
    QList<QByteArray> Fields(const QByteArray& key, int values)
    {
        if (next_ >= lines_.size())
            return {};
        QList<QByteArray> fields = lines_[next_++].split(' ');
        if (fields.size() != values + 1 || fields[0] != key)
            return {};
        return fields;
    }

    std::optional<long long> Number(const QByteArray& key, long long low, long long high)
    {
        const QList<QByteArray> fields = Fields(key, 1);
        if (fields.isEmpty())
            return Fail("expected \"" + QString::fromLatin1(key) + "\"");
        const std::optional<long long> value = Integer(fields[1], low, high);
        if (!value)
            return Fail(QString::fromLatin1(key) + " out of range");
        return value;
    }

    std::optional<TSavedPhoto> Photo(const QList<QByteArray>& fields)
    {
        if (fields.isEmpty())
            return Fail("a photo line without its fields");
        int at = 1;
        auto integer = [&](long long low, long long high) { return Integer(fields[at++], low, high); };
        const auto selected = integer(0, 1);
        const auto quantity = integer(1, kMaxQuantity);
        const auto formatId = integer(-1, INT_MAX);
        const auto rotation = integer(0, 3);
        const auto blackWhite = integer(0, 1);
        const auto sepia = integer(0, 1);
        std::optional<float> crop[6];
        for (std::optional<float>& value : crop)
            value = Fraction(fields[at++]);
        std::optional<long long> colour[9];
        for (int i = 0; i < 9; ++i)
            colour[i] = i == 6 ? integer(-180, 180) : integer(-100, 100); // hue1 is in degrees
        std::optional<long long> reserved[3];
        for (std::optional<long long>& value : reserved)
            value = integer(0, 255);
        TSavedPhoto photo;
        photo.sourcePath = Path(fields[at++]);
        photo.name = Path(fields[at++]);
        const bool all = selected && quantity && formatId && rotation && blackWhite && sepia
            && std::all_of(std::begin(crop), std::end(crop), [](const auto& v) { return v.has_value(); })
            && std::all_of(std::begin(colour), std::end(colour), [](const auto& v) { return v.has_value(); })
            && std::all_of(std::begin(reserved), std::end(reserved), [](const auto& v) { return v.has_value(); });
        if (!all)
            return Fail("a photo value is out of range");
        if (!CleanAbsolute(photo.sourcePath) || !NameBesideSource(photo.name, photo.sourcePath))
            return Fail("a photo path is not allowed");
        photo.selected = *selected != 0;
        photo.quantity = int(*quantity);
        photo.formatId = int(*formatId);
        Corrections& record = photo.corrections;
        record.rotation = std::int32_t(*rotation);
        record.blackWhite = std::uint8_t(*blackWhite);
        record.sepia = std::uint8_t(*sepia);
        record.crop = { *crop[0], *crop[1], *crop[2], *crop[3], *crop[4], *crop[5] };
        if (!ValidCrop(record.crop))
            return Fail("a crop is out of range");
        std::int32_t* colours[] = { &record.sat, &record.inten, &record.contr, &record.balr, &record.balg, &record.balb,
            &record.hue1, &record.hue2, &record.hue3 };
        for (int i = 0; i < 9; ++i)
            *colours[i] = std::int32_t(*colour[i]);
        for (int i = 0; i < 3; ++i)
            record.reserved[i] = std::uint8_t(*reserved[i]);
        return photo;
    }

    QList<QByteArray> lines_;
    qsizetype next_ = 0;
};

} // namespace

QString ProjectFilePath()
{
    return AppPath(QStringLiteral("project.vdp"), FileUse::Write);
}

TSavedProject SavedState(const TVDImage& project)
{
    TSavedProject saved;
    saved.focus = project.focus;
    saved.defaultFormat = project.defaultFormat;
    saved.photos.reserve(project.Photos().size());
    for (const TPhoto& photo : project.Photos())
        saved.photos.push_back(
            { photo.sourcePath, photo.name, photo.formatId, photo.quantity, photo.selected, photo.corrections });
    return saved;
}

QByteArray ProjectFileText(const TSavedProject& project)
{
    QByteArray text = kMagic + ' ' + QByteArray::number(kProjectFileVersion) + '\n';
    text += "focus " + QByteArray::number(project.focus) + '\n';
    text += "default-format " + QByteArray::number(project.defaultFormat) + '\n';
    text.reserve(text.size() + qsizetype(project.photos.size()) * 300);
    for (const TSavedPhoto& photo : project.photos) {
        const Corrections& record = photo.corrections;
        text += "photo";
        for (const long long value : { int(photo.selected), photo.quantity, photo.formatId, record.rotation,
                 int(record.blackWhite), int(record.sepia) })
            AppendNumber(text, value);
        for (const float value : { record.crop.left, record.crop.top, record.crop.width, record.crop.height,
                 record.crop.right, record.crop.bottom })
            AppendNumber(text, value);
        for (const long long value :
            { record.sat, record.inten, record.contr, record.balr, record.balg, record.balb, record.hue1, record.hue2,
                record.hue3, int(record.reserved[0]), int(record.reserved[1]), int(record.reserved[2]) })
            AppendNumber(text, value);
        AppendPath(text, photo.sourcePath);
        AppendPath(text, photo.name);
        text += '\n';
    }
    text += "end " + QByteArray::number(qsizetype(project.photos.size())) + '\n';
    return text;
}

std::optional<TSavedProject> ParseProjectFile(const QByteArray& text, QString* problem)
{
    TParser parser(text);
    std::optional<TSavedProject> project = parser.Parse();
    if (!project && problem)
        *problem = parser.problem;
    return project;
}

std::optional<TSavedProject> ReadProjectFile(const QString& path)
{
    if (!QFile::exists(path))
        return TSavedProject {};
    QFile file(path);
    QString problem;
    std::optional<TSavedProject> project;
    if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    else if (file.size() > kProjectFileMaxBytes)
        problem = QStringLiteral("too large");
    else
        project = ParseProjectFile(file.readAll(), &problem);
    if (!project)
        Log(QStringLiteral("Project file ignored: ") + path + QStringLiteral(": ") + problem, 2);
    return project;
}

bool WriteProjectFile(const QString& path, const TSavedProject& project)
{
    if (project.photos.empty()) {
        if (!QFile::exists(path) || QFile::remove(path))
            return true;
        Log(QStringLiteral("Project file not deleted: ") + path, 3);
        return false;
    }
    const QByteArray text = ProjectFileText(project);
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly)
        && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) && file.write(text) == text.size()
        && file.commit();
    if (!written)
        Log(QStringLiteral("Project file not written: ") + path + QStringLiteral(": ") + file.errorString(), 3);
    return written;
}

int RestoredFocus(int savedFocus, const std::vector<int>& restored)
{
    if (savedFocus < 0 || restored.empty())
        return -1;
    const auto next = std::lower_bound(restored.begin(), restored.end(), savedFocus);
    return int(std::min<std::ptrdiff_t>(next - restored.begin(), std::ptrdiff_t(restored.size()) - 1));
}

QString MissingSourcesMessage(const QStringList& paths)
{
    QString text = QStringLiteral("Nie znaleziono plików (zostały pominięte):");
    for (const QString& path : paths.mid(0, kListedMissing))
        text += u'\r' + path;
    if (paths.size() > kListedMissing)
        text += QStringLiteral("\r... i %1 innych").arg(paths.size() - kListedMissing);
    return text;
}
