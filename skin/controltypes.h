#pragma once
// Enumerations shared by the program's own controls.
#include <QObject>

namespace vd {
Q_NAMESPACE

// A 3-D edge inside a control's outline, or none.
enum TMBorderStyle { mbsNone, mbsSunken };
Q_ENUM_NS(TMBorderStyle)

// How a disabled button shows its glyph.
enum TDisabledGlyphStyle { dgBW, dgLighten, dgDarken };
Q_ENUM_NS(TDisabledGlyphStyle)

// A panel bevel.
enum TBevelCut { bvNone, bvLowered, bvRaised };
Q_ENUM_NS(TBevelCut)

enum TBackgroundMode { bmColor, bmPicture, bmLRGradient, bmUDGradient };
Q_ENUM_NS(TBackgroundMode)

enum TTextureMode { tmNormal, tmStrech, tmTexture };
Q_ENUM_NS(TTextureMode)

enum TLineOrientation { LHorizontal, LVertical };
Q_ENUM_NS(TLineOrientation)

// How a bitmap button draws its picture.
enum TDrawMode { dmOpaque, dmStretched, dmTiled };
Q_ENUM_NS(TDrawMode)

enum TSimpleBorderStyle { sbsNone, sbsSimple, sbsSunken };
Q_ENUM_NS(TSimpleBorderStyle)

enum THotTrackMethod { hmMouseMove, hmMousePress };
Q_ENUM_NS(THotTrackMethod)

enum TFillType { btFlat, btGradient };
Q_ENUM_NS(TFillType)

enum TGradientDirection { gdHorizontal, gdVertical };
Q_ENUM_NS(TGradientDirection)

enum TGradientMode { gmShrink, gmWhole };
Q_ENUM_NS(TGradientMode)

enum TBarBorderStyle { bsNone, bsSingle };
Q_ENUM_NS(TBarBorderStyle)

} // namespace vd
