#pragma once
// The five process-wide core objects. Start-up builds them in this order and shut-down
// destroys them in the same order; windows reach them through Core().
class TConfig;
class TVDImage;
class TFormats;
class TEngine;
class TSkinner;

struct TCoreObjects {
    TConfig* config = nullptr;
    TVDImage* vdimage = nullptr;
    TFormats* formats = nullptr;
    TEngine* engine = nullptr;
    TSkinner* skinner = nullptr;
};

TCoreObjects& Core();
