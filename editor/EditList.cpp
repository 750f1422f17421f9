// Line store operations, line splitting, loading and saving.
#include "editor/EditList.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "editor/TextUtil.h"

namespace editor {
namespace {

constexpr std::size_t kMaxLineLength = (1u << 31) - 1;

// Holds the store's Loading flag for one load, clearing it however the load ends.
class LoadingFlag {
 public:
  explicit LoadingFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~LoadingFlag() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

TqeEditList::TextBlock::TextBlock(std::size_t size) : size_(size) {
  if (size >= (1u << 20)) {
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (p != MAP_FAILED) {
      data_ = static_cast<char*>(p);
      mapped_ = true;
      return;
    }
  }
  data_ = new char[std::max<std::size_t>(size, 1)];
}

TqeEditList::TextBlock::~TextBlock() {
  if (mapped_)
    ::munmap(data_, size_);
  else
    delete[] data_;
}

EListError::EListError(int index) : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")") {}

TqeEditList::~TqeEditList() { ReleaseAll(); }

// An owned line's bytes follow a header that holds their capacity, so a line that grows by a few bytes at
// a time (typing) grows in place.
struct TqeEditList::OwnedHeader {
  std::uint64_t capacity;
};

char* TqeEditList::Allocate(std::size_t capacity) {
  auto* header = static_cast<OwnedHeader*>(std::malloc(sizeof(OwnedHeader) + capacity));
  if (!header) throw std::bad_alloc();
  header->capacity = capacity;
  return reinterpret_cast<char*>(header + 1);
}

std::size_t TqeEditList::Capacity(const Line& line) {
  return line.owned && line.data ? (reinterpret_cast<const OwnedHeader*>(line.data) - 1)->capacity : 0;
}

TqeEditList::Line TqeEditList::MakeOwned(std::string_view text) {
  if (text.size() > kMaxLineLength) throw std::length_error("Line too long");
  Line line;
  if (!text.empty()) {
    line.data = Allocate(text.size());
    std::memcpy(line.data, text.data(), text.size());
  }
  line.length = static_cast<std::uint32_t>(text.size());
  line.owned = 1;
  return line;
}

void TqeEditList::Release(Line& line) {
  if (line.owned && line.data) std::free(reinterpret_cast<OwnedHeader*>(line.data) - 1);
  line.data = nullptr;
}

void TqeEditList::ReleaseAll() {
  for (std::size_t i = 0; i < lines_.size(); ++i) Release(lines_[i]);
  lines_.clear();
  blocks_.clear();
}

void TqeEditList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EListError(index);
}

std::string_view TqeEditList::Get(int index) const {
  CheckIndex(index);
  const Line& line = lines_[index];
  return {line.data, line.length};
}

RangeSlot TqeEditList::Slot(int index) const {
  CheckIndex(index);
  return lines_[index].slot;
}

void TqeEditList::SetSlot(int index, RangeSlot value) {
  CheckIndex(index);
  lines_[index].slot = value;
}

void TqeEditList::BeginUpdate() {
  if (updateCount_ == 0 && OnChanging) OnChanging();
  ++updateCount_;
}

void TqeEditList::EndUpdate() {
  --updateCount_;
  if (updateCount_ == 0 && OnChanged) OnChanged();
}

int TqeEditList::Add(std::string_view text) {
  UpdateScope update(*this);
  lines_.push_back(MakeOwned(text));
  if (OnAdded) OnAdded();
  return Count() - 1;
}

void TqeEditList::Insert(int index, std::string_view text) {
  if (index < 0 || index > Count()) throw EListError(index);
  UpdateScope update(*this);
  lines_.insert(index, MakeOwned(text));
  if (OnInserted) OnInserted(index);
}

void TqeEditList::Delete(int index) {
  CheckIndex(index);
  UpdateScope update(*this);
  Release(lines_[index]);
  lines_.erase(index);
  if (OnDeleted) OnDeleted(index);
}

void TqeEditList::Put(int index, std::string_view text) {
  CheckIndex(index);
  UpdateScope update(*this);
  // The new text may be a view into the old one, so copy before releasing.
  Line fresh = MakeOwned(text);
  Line& line = lines_[index];
  fresh.slot = line.slot;
  Release(line);
  line = fresh;
  putFrom_ = 0;
  if (OnPutted) OnPutted(index);
}

void TqeEditList::Splice(int index, int at, int count, std::string_view bytes) {
  CheckIndex(index);
  Line& line = lines_[index];
  const std::size_t length = line.length;
  const std::size_t start = std::min<std::size_t>(static_cast<std::size_t>(std::max(at, 0)), length);
  const std::size_t removed = std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), length - start);
  const std::size_t size = length - removed + bytes.size();
  if (size > kMaxLineLength) throw std::length_error("Line too long");
  UpdateScope update(*this);
  const std::size_t tail = length - start - removed;
  if (size <= Capacity(line)) {
    if (tail > 0) std::memmove(line.data + start + bytes.size(), line.data + start + removed, tail);
  } else {
    // Room for half as much again, so that typing at the end of a long line copies it rarely.
    char* data = Allocate(size + size / 2);
    if (start > 0) std::memcpy(data, line.data, start);
    if (tail > 0) std::memcpy(data + start + bytes.size(), line.data + start + removed, tail);
    Release(line);
    line.data = data;
    line.owned = 1;
  }
  if (!bytes.empty()) std::memcpy(line.data + start, bytes.data(), bytes.size());
  line.length = static_cast<std::uint32_t>(size);
  putFrom_ = static_cast<int>(start);
  if (OnPutted) OnPutted(index);
}

void TqeEditList::Clear() {
  // One update around both steps, so listeners never see the store empty.
  UpdateScope update(*this);
  ReleaseAll();
  if (!loading_) Add({});
}

// Counts the lines of text: one per CR, LF or CR LF, and one more for text after the last line end.
static std::size_t CountLines(const char* text, std::size_t size) {
  std::size_t ends = 0;
  for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, '\n', text + size - p))); ++p) ++ends;
  for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, '\r', text + size - p))); ++p)
    if (p + 1 == text + size || p[1] != '\n') ++ends;  // a CR LF was counted at its LF
  const char last = size ? text[size - 1] : '\n';
  return ends + (last == '\n' || last == '\r' ? 0 : 1);
}

void TqeEditList::AdoptText(std::unique_ptr<TextBlock> block, std::size_t size) {
  char* text = block->Data();
  const void* zero = std::memchr(text, 0, size);
  cutAtZeroByte_ = zero != nullptr;
  if (zero) size = static_cast<const char*>(zero) - text;
  char* const end = text + size;

  std::vector<Line> lines;
  lines.reserve(CountLines(text, size));
  // The first LF at or after the line's start; remembered across lines so that text without LFs is still
  // searched once, not once per line.
  char* nextLF = nullptr;
  for (char* start = text; start < end;) {
    if (!nextLF || nextLF < start) {
      nextLF = static_cast<char*>(std::memchr(start, '\n', end - start));
      if (!nextLF) nextLF = end;
    }
    char* cr = static_cast<char*>(std::memchr(start, '\r', nextLF - start));
    char* lineEnd = cr ? cr : nextLF;
    if (static_cast<std::size_t>(lineEnd - start) > kMaxLineLength) throw std::length_error("Line too long");
    Line line;
    line.data = start;
    line.length = static_cast<std::uint32_t>(lineEnd - start);
    lines.push_back(line);
    start = lineEnd + 1;
    if (cr && start < end && *start == '\n') ++start;
  }

  ReleaseAll();
  lines_.assign(std::move(lines));
  if (size > 0) blocks_.push_back(std::move(block));
}

void TqeEditList::SetTextStr(std::string_view text) {
  UpdateScope update(*this);
  auto block = std::make_unique<TextBlock>(text.size());
  // An empty view may hold no pointer at all, which memcpy must never be given.
  if (!text.empty()) std::memcpy(block->Data(), text.data(), text.size());
  AdoptText(std::move(block), text.size());
  if (OnLoaded) OnLoaded();
}

void TqeEditList::LoadFromStream(std::istream& in) {
  LoadingFlag loading(loading_);
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw EFileError("Read error");
  SetTextStr(bytes);
}

void TqeEditList::LoadFromFile(const std::filesystem::path& file) {
  LoadingFlag loading(loading_);
  std::ifstream in(file, std::ios::binary);
  std::error_code ec;
  auto size = std::filesystem::file_size(file, ec);
  if (!in || ec || std::filesystem::is_directory(file)) throw EFileError("Cannot open file " + file.string());
  // Read the file straight into the block the lines will point into: one copy of the text, no more.
  auto block = std::make_unique<TextBlock>(size);
  in.read(block->Data(), static_cast<std::streamsize>(size));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) throw EFileError("Read error in file " + file.string());
  UpdateScope update(*this);
  AdoptText(std::move(block), size);
  if (OnLoaded) OnLoaded();
}

std::string TqeEditList::Text() const {
  std::string out;
  TextInto(out);
  return out;
}

void TqeEditList::TextInto(std::string& out) const {
  std::size_t total = 0;
  for (std::size_t i = 0; i < lines_.size(); ++i) total += lines_[i].length + 2;
  out.resize(total);
  char* at = out.data();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].length > 0) std::memcpy(at, lines_[i].data, lines_[i].length);  // an empty line may have no data
    at += lines_[i].length;
    *at++ = '\r';
    *at++ = '\n';
  }
}

void TqeEditList::SaveToStream(std::ostream& out, TextSaveOptions options) const {
  // Written in pieces so saving a large file does not build a second copy of it in memory.
  std::string chunk;
  const std::string_view end = options.lf ? "\n" : "\r\n";
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view line(lines_[i].data, lines_[i].length);
    if (options.trimTrailingBlanks) line = line.substr(0, TrimmedLength(line));
    chunk.append(line);
    chunk += end;
    if (chunk.size() >= (1u << 20)) {
      out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      chunk.clear();
    }
  }
  out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

void TqeEditList::SaveToFile(const std::filesystem::path& file, TextSaveOptions options) const {
  platform::WriteFileAtomically(file, [this, options](std::ostream& out) { SaveToStream(out, options); });
}

}  // namespace editor
