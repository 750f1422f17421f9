#include "testsupport/TestCertificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <stdexcept>

namespace {

EVP_PKEY* NewKey() {
  EVP_PKEY* key = EVP_EC_gen("P-256");
  if (!key) throw std::runtime_error("cannot make a test key");
  return key;
}

void AddExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
  if (!extension) throw std::runtime_error("cannot make a certificate extension: " + value);
  X509_add_ext(certificate, extension, -1);
  X509_EXTENSION_free(extension);
}

X509* NewCertificate(const std::string& commonName, EVP_PKEY* key, long serial) {
  X509* certificate = X509_new();
  X509_set_version(certificate, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(certificate), serial);
  X509_gmtime_adj(X509_getm_notBefore(certificate), -3600);
  X509_gmtime_adj(X509_getm_notAfter(certificate), 7 * 24 * 3600);
  X509_set_pubkey(certificate, key);
  X509_NAME* name = X509_get_subject_name(certificate);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName.c_str()), -1,
                             -1, 0);
  return certificate;
}

template <typename Write>
void WritePem(const std::filesystem::path& path, Write write) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) throw std::runtime_error("cannot write " + path.string());
  write(file);
  std::fclose(file);
}

}  // namespace

TestCertificates::TestCertificates(std::filesystem::path folder) : folder_(std::move(folder)) {
  std::filesystem::create_directories(folder_);
  EVP_PKEY* key = NewKey();
  X509* certificate = NewCertificate("Quillmark Test CA", key, 1);
  X509_set_issuer_name(certificate, X509_get_subject_name(certificate));
  AddExtension(certificate, certificate, NID_basic_constraints, "critical,CA:TRUE");
  AddExtension(certificate, certificate, NID_key_usage, "critical,keyCertSign,cRLSign");
  AddExtension(certificate, certificate, NID_subject_key_identifier, "hash");
  X509_sign(certificate, key, EVP_sha256());
  WritePem(folder_ / "ca.pem", [&](FILE* file) { PEM_write_X509(file, certificate); });
  caKey_ = key;
  caCert_ = certificate;
}

TestCertificates::~TestCertificates() {
  X509_free(static_cast<X509*>(caCert_));
  EVP_PKEY_free(static_cast<EVP_PKEY*>(caKey_));
}

TestCertificates::Identity TestCertificates::Issue(const std::string& fileStem, const std::vector<std::string>& names,
                                                   bool selfSigned) {
  static long serial = 2;
  EVP_PKEY* key = NewKey();
  X509* certificate = NewCertificate(names.empty() ? "unnamed" : names.front(), key, serial++);
  X509* issuer = selfSigned ? certificate : static_cast<X509*>(caCert_);
  X509_set_issuer_name(certificate, X509_get_subject_name(issuer));
  std::string alternatives;
  for (const std::string& name : names) {
    const bool dotted = name.find_first_not_of("0123456789.") == std::string::npos;
    alternatives += (alternatives.empty() ? "" : ",") + std::string(dotted ? "IP:" : "DNS:") + name;
  }
  if (!alternatives.empty()) AddExtension(certificate, issuer, NID_subject_alt_name, alternatives);
  AddExtension(certificate, issuer, NID_basic_constraints, "critical,CA:FALSE");
  AddExtension(certificate, issuer, NID_ext_key_usage, "serverAuth");
  X509_sign(certificate, selfSigned ? key : static_cast<EVP_PKEY*>(caKey_), EVP_sha256());
  Identity identity{(folder_ / (fileStem + ".pem")).string(), (folder_ / (fileStem + ".key")).string()};
  WritePem(identity.certificateFile, [&](FILE* file) { PEM_write_X509(file, certificate); });
  WritePem(identity.keyFile,
           [&](FILE* file) { PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr); });
  X509_free(certificate);
  EVP_PKEY_free(key);
  return identity;
}
