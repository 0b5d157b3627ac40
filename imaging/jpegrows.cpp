#include "imaging/jpegrows.h"

#include <QFile>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace {

constexpr int kMaxScans = 500;
constexpr long kMaxCodecMemory = 1024L * 1024L * 1024L;
constexpr int kRowsPerCall = 16;

// libjpeg's error_exit must not return: it jumps back into the guarded call.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool warningsAreErrors;
};

[[noreturn]] void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void EmitMessage(j_common_ptr info, int level)
{
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && manager->warningsAreErrors) // corrupt or truncated data
        std::longjmp(manager->jump, 1);
}

void OutputMessage(j_common_ptr) { }

void LimitScans(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans)
        (*info->err->error_exit)(info);
}

} // namespace

struct TJpegRows::State {
    jpeg_decompress_struct decoder {};
    ErrorManager errors {};
    jpeg_progress_mgr progress {};
    std::FILE* file = nullptr;
    bool created = false;
    bool failed = false;

    // Runs step on the decoder; false (and the state failed for good) when libjpeg reported an
    // error, or a warning once warnings are errors. step must hold nothing that needs destroying.
    template <typename Step> bool Guarded(const Step& step)
    {
        if (failed)
            return false;
        if (setjmp(errors.jump) != 0) {
            failed = true;
            return false;
        }
        step();
        return true;
    }

    ~State()
    {
        if (created)
            jpeg_destroy_decompress(&decoder);
        if (file)
            std::fclose(file);
    }
};

TJpegRows::TJpegRows() = default;
TJpegRows::~TJpegRows() = default;

bool TJpegRows::Open(const QString& path)
{
    state_ = std::make_unique<State>();
    width_ = height_ = 0;
    State& state = *state_;
    state.file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!state.file)
        return false;
    jpeg_std_error(&state.errors.base);
    state.errors.base.error_exit = ErrorExit;
    state.errors.base.emit_message = EmitMessage;
    state.errors.base.output_message = OutputMessage;
    state.decoder.err = &state.errors.base;
    bool accepted = false;
    const bool started = state.Guarded([&state, &accepted] {
        jpeg_decompress_struct& decoder = state.decoder;
        jpeg_create_decompress(&decoder);
        state.created = true;
        decoder.mem->max_memory_to_use = kMaxCodecMemory;
        state.progress.progress_monitor = LimitScans;
        decoder.progress = &state.progress;
        jpeg_stdio_src(&decoder, state.file);
        jpeg_read_header(&decoder, TRUE);
        const std::int64_t bridgeRowBytes = (std::int64_t(decoder.image_width) * 3 + 3) & ~std::int64_t(3);
        if ((decoder.num_components != 1 && decoder.num_components != 3) || decoder.image_width == 0
            || bridgeRowBytes * std::int64_t(decoder.image_height) > INT32_MAX)
            return;
        decoder.out_color_space = JCS_EXT_BGRA;
        state.errors.warningsAreErrors = true;
        jpeg_start_decompress(&decoder);
        accepted = decoder.output_width == decoder.image_width && decoder.output_height == decoder.image_height
            && decoder.output_components == 4;
    });
    if (!started || !accepted) {
        state.failed = true;
        return false;
    }
    width_ = int(state.decoder.output_width);
    height_ = int(state.decoder.output_height);
    return true;
}

int TJpegRows::Read(std::uint32_t* rows, std::ptrdiff_t stride, int count)
{
    if (!state_)
        return -1;
    State& state = *state_;
    int done = 0;
    const bool read = state.Guarded([&state, &done, rows, stride, count] {
        jpeg_decompress_struct& decoder = state.decoder;
        while (done < count && decoder.output_scanline < decoder.output_height) {
            JSAMPROW pointers[kRowsPerCall];
            const int wanted = std::min(count - done, kRowsPerCall);
            for (int i = 0; i < wanted; ++i)
                pointers[i] = reinterpret_cast<JSAMPROW>(rows + (done + i) * stride);
            const int got = int(jpeg_read_scanlines(&decoder, pointers, JDIMENSION(wanted)));
            if (got == 0)
                (*decoder.err->error_exit)(reinterpret_cast<j_common_ptr>(&decoder));
            done += got;
        }
    });
    return read ? done : -1;
}

bool TJpegRows::Finish()
{
    if (!state_ || state_->decoder.output_scanline < state_->decoder.output_height)
        return false;
    State& state = *state_;
    return state.Guarded([&state] { jpeg_finish_decompress(&state.decoder); });
}
