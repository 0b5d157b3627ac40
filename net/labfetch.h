#pragma once
// Bringing the lab's files into the program folder: the settings file from its web address,
// the formats and shop files from where engine.ini's sources point ("file" copies from the
// config folder, "http" and "https" download through the quiet fetch). Each returns whether
// the file arrived; the loaders of lab/vdengine.h read them afterwards.
class TEngine;

// Downloads the "settings" address to engine_settmp.ini.
bool FetchSettings(const TEngine& engine);
// The formats file into formatsTMP.txt; on success engine.formatsSource becomes that path.
bool FetchFormats(TEngine& engine);
// The shops file into shopsTMP.txt.
bool FetchShopList(const TEngine& engine);
