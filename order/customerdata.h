#pragma once
// mydata.dat: the customer's contact data remembered by the send-order window. Length-prefixed
// Windows-1250 strings: the header "VD: saved my data v2", then name, city, street, phone,
// email, nip, company. The older form "VD: saved my data" holds the first five only.
#include <QString>

#include <optional>

struct TCustomerData {
    QString name;
    QString city;
    QString street;
    QString phone;
    QString email;
    QString nip;
    QString company;
    bool hasVatData = true; // false for the older form: nip and company are not in the file
};

// The data from AppPath("mydata.dat", Read); nothing when the file is missing or cannot be
// opened, and nothing with the log line "mydata.dat has invalid format or is incompatible !"
// (level 2) for any other header. An item that cannot be read is empty.
std::optional<TCustomerData> ReadCustomerData();

// Writes the current form at AppPath("mydata.dat", Write) with mode 0600.
bool WriteCustomerData(const TCustomerData& data);

// Deletes the file (true when none is left).
bool DeleteCustomerData();
