#pragma once
// The save window's strip of the last pictures saved: each new one goes into the next of
// seven slots (back to the first after the last), and every step darkens what is there, so
// older pictures fade.
#include <QImage>

class TSaveStrip {
public:
    static constexpr int kWidth = 417;
    static constexpr int kHeight = 57;
    static constexpr int kSlot = kHeight - 4; // square slots
    static constexpr int kPitch = kHeight;
    static constexpr int kFadeStep = -25;

    // An opaque black strip; the next picture goes into the first slot.
    void Start();
    // Every pixel's brightness by kFadeStep.
    void Fade();
    // The picture fitted and centred in the next slot (cleared to black first).
    void Add(const QImage& picture);
    // No picture at all (between runs).
    void Clear();

    const QImage& Picture() const { return picture_; }
    int Position() const { return position_; }

private:
    QImage picture_;
    int position_ = 0;
};
