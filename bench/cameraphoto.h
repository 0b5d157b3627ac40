#pragma once
// What the photo benchmarks share: the camera-sized test photo, the process's memory figures,
// medians and the timing of a command-line tool.
#include "imaging/jpegsave.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QString>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>
#include <string>
#include <vector>

extern char** environ;

// The generator's version below: a change to how the photo is made gives it a new name, so no
// figure comes from a photo the code no longer makes.
inline constexpr int kCameraPhotoVersion = 2;

// A 6000 x 4000 photo that compresses like a camera's: smooth colour fields, fine texture and
// sensor noise, quality 92 (about 10 MB). Made once and kept for later runs.
inline QString CameraPhoto()
{
    const QString folder = QDir::tempPath() + QStringLiteral("/vendaro-bench");
    const QString path = folder + QStringLiteral("/camera-6000x4000-v%1.jpg").arg(kCameraPhotoVersion);
    if (QFile::exists(path))
        return path;
    QDir().mkpath(folder);
    QImage picture(6000, 4000, QImage::Format_RGB888);
    std::mt19937 random(42);
    std::normal_distribution<float> noise(0.0f, 5.0f);
    for (int y = 0; y < picture.height(); ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x) {
            const float fx = x / 6000.0f, fy = y / 4000.0f;
            const float texture = 18.0f * std::sin(x * 0.21f + std::sin(y * 0.05f) * 3.0f) * std::sin(y * 0.17f);
            const float base[3] = { 120 + 90 * std::sin(fx * 5.1f + fy * 2.3f), 110 + 80 * std::sin(fy * 4.7f + 1.0f),
                100 + 70 * std::cos(fx * 3.3f - fy * 6.1f) };
            for (int c = 0; c < 3; ++c)
                row[3 * x + c] = uchar(std::clamp(base[c] + texture + noise(random), 0.0f, 255.0f));
        }
    }
    const QString partial = path + QStringLiteral(".part");
    if (!SaveJpeg(picture, partial, 92) || !QFile::rename(partial, path))
        return {};
    return path;
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
