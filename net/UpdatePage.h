// The update checker's information page as the network gives it: its META definitions, the dates and
// version numbers they carry, and the SHA-256 digest a download is checked against. The questions, the
// windows and the transfers themselves are app::TUpdateInfo's.
#pragma once

#include <string>

namespace net {

enum class TUpdateInfoVersionFormat { uivBuildNumber, uivSimpleString };

// The META names the information page is read for; Sha256Tag names the download's published checksum.
struct TUpdateInfoTags {
  std::string AuthorTag, DateTag, DownloadTag, ProductNameTag, ReadMeTag, ReadMeExtTag, RedirectTag, RunParamsTag,
      VersionTag, Sha256Tag;
  bool Empty() const;
};

struct TUpdateDate {
  int Year = 0, Month = 0, Day = 0;  // all 0: none
  friend bool operator==(const TUpdateDate&, const TUpdateDate&) = default;
};

// One line's META HTTP-EQUIV="name" CONTENT="value" definition, if it has one.
bool ReadInfoDefinition(const std::string& line, std::string& name, std::string& value);
// "Mar 05, 2001" as a date; nothing (all 0) when the text does not read as one.
TUpdateDate ReadProductDate(const std::string& text);
// Whether available is newer than current.
bool IsNewerVersion(const std::string& current, const std::string& available, TUpdateInfoVersionFormat format);
// 1234567 as "1,234,567".
std::string GroupedNumber(long long value);

// The SHA-256 digest of bytes handed over piece by piece, in lower-case hexadecimal.
class Sha256Digest {
 public:
  Sha256Digest();
  ~Sha256Digest();
  Sha256Digest(const Sha256Digest&) = delete;
  Sha256Digest& operator=(const Sha256Digest&) = delete;
  void Update(const char* data, std::size_t size);
  std::string Hex();

 private:
  void* context_;  // EVP_MD_CTX
};

}  // namespace net
