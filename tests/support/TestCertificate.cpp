#include "support/TestCertificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

template <auto Free> struct TFree {
    template <typename T> void operator()(T* pointer) const { Free(pointer); }
};
using TKey = std::unique_ptr<EVP_PKEY, TFree<EVP_PKEY_free>>;
using TCertificate = std::unique_ptr<X509, TFree<X509_free>>;
using TExtension = std::unique_ptr<X509_EXTENSION, TFree<X509_EXTENSION_free>>;
using TFile = std::unique_ptr<FILE, TFree<std::fclose>>;

void Check(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(std::string("test certificate: ") + what);
    }
}

void AddExtension(X509* certificate, int id, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
    const TExtension extension(X509V3_EXT_conf_nid(nullptr, &context, id, value));
    Check(extension && X509_add_ext(certificate, extension.get(), -1) == 1, "extension");
}

TFile OpenForWriting(const std::filesystem::path& path) {
    TFile file(std::fopen(path.c_str(), "wb"));
    Check(file != nullptr, "cannot write a file");
    return file;
}

} // namespace

void WriteTestCertificate(const std::filesystem::path& certificateFile,
                          const std::filesystem::path& keyFile) {
    const TKey key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "key");
    const TCertificate certificate(X509_new());
    Check(certificate != nullptr, "certificate");
    X509* c = certificate.get();
    X509_set_version(c, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(c), 1);
    X509_gmtime_adj(X509_getm_notBefore(c), -3600);
    X509_gmtime_adj(X509_getm_notAfter(c), 24 * 3600);
    X509_set_pubkey(c, key.get());
    X509_NAME* name = X509_get_subject_name(c);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"),
                               -1, -1, 0);
    X509_set_issuer_name(c, name);
    AddExtension(c, NID_subject_alt_name, "IP:127.0.0.1");
    AddExtension(c, NID_basic_constraints, "critical,CA:TRUE");
    Check(X509_sign(c, key.get(), EVP_sha256()) > 0, "signature");

    Check(PEM_write_X509(OpenForWriting(certificateFile).get(), c) == 1, "writing the certificate");
    Check(PEM_write_PrivateKey(OpenForWriting(keyFile).get(), key.get(), nullptr, nullptr, 0, nullptr,
                               nullptr) == 1,
          "writing the key");
}
