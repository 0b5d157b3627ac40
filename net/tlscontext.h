#pragma once
// The TLS context of the program's clients (HTTPS, FTP over TLS).
#include <Poco/Net/Context.h>

#include <string>

// A fresh client context, so that the system's certificate store is read as it is now
// (SSL_CERT_FILE and SSL_CERT_DIR are honoured). The server's certificate must chain to that
// store and be made out to host: OpenSSL checks the name (or, for a literal address, the IP
// entries) while it verifies the chain, so a certificate of another server signed by a trusted
// authority fails the handshake like an untrusted one.
Poco::Net::Context::Ptr ClientTlsContext(const std::string& host);
