// A certificate authority made afresh for a test run, and server certificates for loopback TLS servers,
// written as PEM files into a folder of the test's.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class TestCertificates {
 public:
  // Makes the authority ("Quillmark Test CA") in folder; its certificate is CAFile().
  explicit TestCertificates(std::filesystem::path folder);
  ~TestCertificates();
  TestCertificates(const TestCertificates&) = delete;
  TestCertificates& operator=(const TestCertificates&) = delete;

  std::string CAFile() const { return (folder_ / "ca.pem").string(); }

  struct Identity {
    std::string certificateFile, keyFile;
  };
  // A server certificate naming these hosts (names or dotted addresses), signed by the authority, or by
  // its own key when selfSigned.
  Identity Issue(const std::string& fileStem, const std::vector<std::string>& names, bool selfSigned = false);

 private:
  std::filesystem::path folder_;
  void* caKey_ = nullptr;   // EVP_PKEY
  void* caCert_ = nullptr;  // X509
};
