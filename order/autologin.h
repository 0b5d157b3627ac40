#pragma once
// mylogin.dat: the user name and password the login window remembers between runs, enciphered
// with the built-in autologin key among random filler. Seven length-prefixed strings: the
// header "VD: autologin file", 64 and 1024 random hexadecimal digits, the enciphered user
// name and password, then 1264 and 1264 random digits (new on every write).
#include <QString>

#include <optional>

struct TAutologin {
    QString user;
    QString password;
};

// Writes the file at AppPath("mylogin.dat", Write) with mode 0600, replacing an earlier one.
bool WriteAutologin(const TAutologin& login);

// The remembered login from AppPath("mylogin.dat", Read); nothing when the file is missing,
// too short, has another header, an item does not decipher, or the password is empty.
std::optional<TAutologin> ReadAutologin();

// Deletes the file (true when none is left).
bool DeleteAutologin();
