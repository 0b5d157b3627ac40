#pragma once
// What the photo benchmarks share: the camera-like test photos, the page-cache drop, the
// process's memory figures, the load average, medians and the timing of a command-line tool.
#include "imaging/jpegsave.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QString>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <vector>

extern char** environ;

// The camera photo's version: a change to how it is made (CameraLikePicture included) gives it
// a new name, so no figure comes from a photo the code no longer makes.
inline constexpr int kCameraPhotoVersion = 2;

// A picture that compresses like a camera's photo: smooth colour fields (moved along by phase),
// fine texture and sensor noise drawn from seed. The same for the same arguments.
inline QImage CameraLikePicture(int width, int height, unsigned seed, float phase = 0)
{
    QImage picture(width, height, QImage::Format_RGB888);
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0.0f, 5.0f);
    for (int y = 0; y < picture.height(); ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            const float fx = x / float(width) + phase, fy = y / float(height);
            const float texture = 18.0f * std::sin(x * 0.21f + std::sin(y * 0.05f) * 3.0f) * std::sin(y * 0.17f);
            const float base[3] = { 120 + 90 * std::sin(fx * 5.1f + fy * 2.3f), 110 + 80 * std::sin(fy * 4.7f + 1.0f),
                100 + 70 * std::cos(fx * 3.3f - fy * 6.1f) };
            for (int c = 0; c < 3; ++c)
                row[3 * x + c] = uchar(std::clamp(base[c] + texture + noise(random), 0.0f, 255.0f));
        }
    }
    return picture;
}

// The folder the benchmarks keep their generated photos in between runs.
inline QString BenchPhotoFolder()
{
    return QDir::tempPath() + QStringLiteral("/vendaro-bench");
}

// Writes picture as a JPEG at path through a partial file, so that an interrupted run leaves
// no photo behind that a later run would take for a whole one.
inline bool SaveBenchPhoto(const QImage& picture, const QString& path, int quality)
{
    const QString partial = path + QStringLiteral(".part");
    return SaveJpeg(picture, partial, quality) && QFile::rename(partial, path);
}

// A 6000 x 4000 camera-like photo at quality 92 (about 6 MB). Made once and kept for later runs.
inline QString CameraPhoto()
{
    const QString folder = BenchPhotoFolder();
    const QString path = folder + QStringLiteral("/camera-6000x4000-v%1.jpg").arg(kCameraPhotoVersion);
    if (QFile::exists(path))
        return path;
    QDir().mkpath(folder);
    return SaveBenchPhoto(CameraLikePicture(6000, 4000, 42), path, 92) ? path : QString();
}

// Writes the file's data to disk and drops it from the page cache, so that the next read comes
// from the disk (a cold read); false when the file cannot be opened.
inline bool DropFromPageCache(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
    return true;
}

// The machine's load average over the last minute (Linux: /proc/loadavg); -1 when unknown.
inline double LoadAverage()
{
    std::ifstream loadavg("/proc/loadavg");
    double oneMinute = -1;
    loadavg >> oneMinute;
    return oneMinute;
}

// Peak resident memory since the last reset, in MB (Linux: VmHWM, reset through clear_refs).
inline void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}
inline double PeakMemoryMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}
inline double CurrentMemoryMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

inline double CpuMs(const rusage& usage)
{
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// User and system time of every thread of the process so far.
inline double ProcessCpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return CpuMs(usage);
}

// Wall time of running the tool (args[0], looked up in PATH) with its arguments, process start
// included, and its CPU time in cpuMs; negative when it cannot start or fails.
inline double ToolMs(std::vector<QByteArray> args, double& cpuMs)
{
    std::vector<char*> argv;
    for (QByteArray& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    pid_t child = 0;
    if (posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    rusage usage {};
    wait4(child, &status, 0, &usage);
    cpuMs = CpuMs(usage);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}
