#include "net/tlscontext.h"

#include <Poco/Net/SSLManager.h>

#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <mutex>

Poco::Net::Context::Ptr ClientTlsContext(const std::string& host)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { Poco::Net::initializeSSL(); });
    Poco::Net::Context::Ptr context(
        new Poco::Net::Context(Poco::Net::Context::TLS_CLIENT_USE, "", Poco::Net::Context::VERIFY_RELAXED, 9, true));
    X509_VERIFY_PARAM* expected = SSL_CTX_get0_param(context->sslContext());
    if (X509_VERIFY_PARAM_set1_ip_asc(expected, host.c_str()) != 1)
        X509_VERIFY_PARAM_set1_host(expected, host.c_str(), host.size());
    return context;
}
