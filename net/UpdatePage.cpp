// Reading the information page's definitions, dates and versions, and the digest of a download.
#include "net/UpdatePage.h"

#include <openssl/evp.h>

#include <cstdlib>

#include "platform/TextBits.h"

namespace net {
namespace {

// The text between position from and the next quotation mark.
std::string UpToQuote(const std::string& line, std::size_t from) {
  if (from >= line.size()) return {};
  return line.substr(from, line.find('"', from) - from);
}

// The number before the first "." (the whole text without one); 0 when that is not a number.
long long LeadingNumber(const std::string& text) {
  const std::string part = text.substr(0, text.find('.'));
  char* end = nullptr;
  const long long value = std::strtoll(part.c_str(), &end, 10);
  return part.empty() || *end != '\0' ? 0 : value;
}

}  // namespace

bool TUpdateInfoTags::Empty() const {
  for (const std::string* tag : {&AuthorTag, &DateTag, &DownloadTag, &ProductNameTag, &ReadMeTag, &ReadMeExtTag,
                                 &RedirectTag, &RunParamsTag, &VersionTag, &Sha256Tag})
    if (!tag->empty()) return false;
  return true;
}

bool ReadInfoDefinition(const std::string& line, std::string& name, std::string& value) {
  const std::size_t phrase = platform::AsciiUpper(line).find("META HTTP-EQUIV");
  if (phrase == std::string::npos) return false;
  name = UpToQuote(line, phrase + 15 + 2);
  const std::size_t content = line.find("CONTENT=");
  value = content == std::string::npos ? std::string() : UpToQuote(line, content + 8 + 1);
  return content != std::string::npos;
}

TUpdateDate ReadProductDate(const std::string& text) {
  static const std::string kMonths = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos || comma < 2 || text.size() < 4) return {};
  const std::size_t month = kMonths.find(platform::AsciiUpper(text.substr(0, 3)));
  const long long day = LeadingNumber(text.substr(comma - 2, 2));
  const long long year = LeadingNumber(text.substr(text.size() - 4));
  if (month == std::string::npos || month % 3 != 0 || day < 1 || day > 31 || year < 1) return {};
  return {static_cast<int>(year), static_cast<int>(month / 3 + 1), static_cast<int>(day)};
}

bool IsNewerVersion(const std::string& current, const std::string& available, TUpdateInfoVersionFormat format) {
  if (format == TUpdateInfoVersionFormat::uivSimpleString) return available > current;
  std::string mine = current, theirs = available;
  for (;;) {
    const long long a = LeadingNumber(mine), b = LeadingNumber(theirs);
    if (a != b) return a < b;
    const std::size_t dot = mine.find('.');
    if (dot == std::string::npos) return false;
    mine.erase(0, dot + 1);
    const std::size_t theirDot = theirs.find('.');
    theirs = theirDot == std::string::npos ? std::string() : theirs.substr(theirDot + 1);
  }
}

std::string GroupedNumber(long long value) {
  const std::string digits = std::to_string(value < 0 ? -value : value);
  std::string grouped = value < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

Sha256Digest::Sha256Digest() : context_(EVP_MD_CTX_new()) {
  EVP_DigestInit_ex(static_cast<EVP_MD_CTX*>(context_), EVP_sha256(), nullptr);
}

Sha256Digest::~Sha256Digest() { EVP_MD_CTX_free(static_cast<EVP_MD_CTX*>(context_)); }

void Sha256Digest::Update(const char* data, std::size_t size) {
  EVP_DigestUpdate(static_cast<EVP_MD_CTX*>(context_), data, size);
}

std::string Sha256Digest::Hex() {
  unsigned char hash[EVP_MAX_MD_SIZE];
  unsigned size = 0;
  EVP_DigestFinal_ex(static_cast<EVP_MD_CTX*>(context_), hash, &size);
  static const char* const kDigits = "0123456789abcdef";
  std::string out;
  for (unsigned i = 0; i < size; ++i) {
    out += kDigits[hash[i] >> 4];
    out += kDigits[hash[i] & 15];
  }
  return out;
}

}  // namespace net
