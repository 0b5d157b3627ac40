#pragma once
// What the main window's status bar says and which of its actions are enabled, computed from
// the project, the format catalogue and the lab's output resolution and prices.
#include <QString>

class TEngine;
class TFormats;
class TVDImage;

struct TMainStatus {
    QString photo; // "Zdjęcie:" the focused photo's file name
    QString count; // "Ilość zdjęć:" photos(prints), e.g. 12(15)
    QString size; // "Wymiary:"
    QString format; // "Format:"
    QString price; // "Cena zlecenia:" value (~ price with opening charge and delivery)

    bool sendOrder = false; // asendorder: at least one print
    bool deleteSelected = false; // adelete
    bool anyPhoto = false; // aformat, asave, aselinv
    bool focused = false; // arename, aeditphoto, acrop, apreview, aquantity, areset
    bool selectAll = false; // aselall: not every photo selected
    bool selectNone = false; // aselnone: something selected
};

// Non-const: the order price sets the project's openingChargeApplied.
TMainStatus ComputeMainStatus(TVDImage& project, const TFormats& formats, const TEngine& engine);

// "Brak." when the format is not in the catalogue, else "name - 12.50 zł".
QString FormatCaption(const TFormats& formats, int formatId);
