#pragma once
// A virtual account's ID and its manifest "account_manifest.vds": key=value lines (keys
// without regard to letter case, values trimmed) naming the account (id), its description
// (descr), its capacity in MiB (size) and the MD5 of its password (pass; the digest of
// "none" means no password).
#include <QString>

#include <cstdint>

inline constexpr char kAccountManifestName[] = "account_manifest.vds";
inline constexpr int64_t kBytesPerMiB = 1048576;

// Whether a file of that name in an account's folder may be the manifest itself: the name
// with its letter case ignored, and also with spaces around it and dots at its end, or as
// its 8.3 alias ("ACCOUN~1.VDS"), which a server on Windows takes for the same file. Nothing
// the program sends, lists or deletes in an account may bear such a name.
bool IsAccountManifestName(const QString& name);

// What the customer typed as an account ID, trimmed and in upper case.
QString NormalizeAccountId(const QString& typed);
// Exactly 8 characters of A-Z and 0-9: an ID names a folder on the lab's server, so nothing
// else (no "..", no separator) ever reaches a folder change.
bool IsValidAccountId(const QString& id);

struct TAccountManifest {
    QString id;
    QString description;
    int64_t quota = 0; // bytes: size x 1 MiB
    QString passDigest;
};

enum class TManifestStatus {
    Ok,
    Incomplete, // one of id, descr, size, pass is missing
    Unreadable, // no file, too large, or a size that is not a whole number of 0 or more
};

struct TManifestRead {
    TManifestStatus status = TManifestStatus::Unreadable;
    TAccountManifest manifest; // complete only with Ok
    QString problem; // for the log when not Ok
};

// Reads the local copy of a manifest (Windows-1250).
TManifestRead ReadAccountManifest(const QString& path);

// Whether typed (exactly as typed, not trimmed) opens an account whose pass value is
// passDigest: always for the digest of "none", else when the MD5 of typed equals it exactly.
bool PasswordOpensAccount(const QString& passDigest, const QString& typed);
