#pragma once
// What the account browser hands the transfer window about the open virtual account.
#include <QString>

#include <cstdint>

struct TAccountFacts {
    QString accountId; // 8 characters of A-Z and 0-9
    int64_t quota = 0; // bytes the account may hold
    int64_t free = 0; // bytes still free
};
