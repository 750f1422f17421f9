// TqeCustomHighLighter: the scanner interface the editor drives one line at a time, and what every scanner
// shares: its attribute list, the editors bound to it, its file filter, the export hook and the registry
// storage of its colours. A scanner sees one line; whatever must survive a line break lives in its range
// state, which the editor stores with every line.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "highlighters/HighlightAttributes.h"
#include "platform/Registry.h"

namespace highlighters {

using RangeValue = std::uintptr_t;
using CharSet = std::bitset<256>;

enum Capability : int { kUserSettings = 1, kRegistry = 2, kExportable = 4 };

// Calling an operation a scanner does not provide.
class EAbstractError : public std::logic_error {
 public:
  EAbstractError() : std::logic_error("Abstract Error") {}
};

// An editor bound to a highlighter, told when the colours change or the highlighter goes away.
class HighlighterClient {
 public:
  virtual ~HighlighterClient() = default;
  virtual void HighlighterChanged() = 0;
  virtual void HighlighterDestroyed() = 0;
};

// Receives the tokens of an export run.
class TokenExporter {
 public:
  virtual ~TokenExporter() = default;
  // attribute is null for the end-of-line token, whose text is empty; escape asks for special characters
  // to be escaped.
  virtual void ExportToken(std::string_view text, const TqeHighLightAttributes* attribute, bool isSpace,
                           bool escape) = 0;
};

class TqeCustomHighLighter {
 public:
  TqeCustomHighLighter() = default;
  TqeCustomHighLighter(const TqeCustomHighLighter&) = delete;
  TqeCustomHighLighter& operator=(const TqeCustomHighLighter&) = delete;
  // Bound editors drop their reference and repaint without highlighting.
  virtual ~TqeCustomHighLighter();

  // Characters that make up words for word moves and double-click selection: by default 33 to 255.
  virtual CharSet WordChars() const;
  virtual std::string LanguageTitle() const { throw EAbstractError(); }
  int AttributeCount() const { return static_cast<int>(attributes_.size()); }
  // In name order; null outside the list.
  TqeHighLightAttributes* AttributeAt(int index) const;
  virtual int Capabilities() const { return kRegistry; }
  const std::string& DefaultFilter() const { return defaultFilter_; }
  void SetDefaultFilter(std::string filter) { defaultFilter_ = std::move(filter); }

  virtual void ExportNextToken() { throw EAbstractError(); }
  virtual void StartExportLine(std::string_view) { throw EAbstractError(); }
  void SetExporter(TokenExporter* exporter) { exporter_ = exporter; }
  TokenExporter* Exporter() const { return exporter_; }

  virtual bool AtLineEnd() const = 0;
  virtual RangeValue RangeState() const = 0;
  virtual std::string_view TokenText() const = 0;
  virtual const TqeHighLightAttributes* TokenAttribute() const = 0;
  virtual int TokenKind() const = 0;
  // The language of the current token, for a scanner that hands parts of a line to others: "css",
  // "javascript", "vbscript" or "php"; empty for the scanner's own tokens.
  virtual std::string_view TokenLanguage() const { return {}; }
  virtual int TokenPosition() const = 0;
  virtual void NextToken() = 0;
  // Keeps the text (the scanner reads it to the line's end) and scans the first token.
  virtual void StartLine(std::string_view text, int lineNumber) = 0;
  virtual void SetRangeState(RangeValue value) = 0;
  virtual void ResetRangeState() = 0;

  // Runs NextToken until the end-of-line token. Scanners override it with a loop the compiler can inline,
  // since the editor's rescan spends most of its time here.
  virtual void ScanToLineEnd() {
    while (!AtLineEnd()) NextToken();
  }

  // Colours in the registry: one subkey per attribute under rootKey\keyPath, with the integer values
  // "Background", "Foreground" and "Style". False when the key, or an attribute's subkey on loading, is
  // missing; loading stops at the first missing subkey.
  bool LoadAttributes(platform::Registry& registry, std::string_view rootKey, std::string_view keyPath);
  bool SaveAttributes(platform::Registry& registry, std::string_view rootKey, std::string_view keyPath);

  // Saved colour schemes: the names of the schemes there are, and applying one by its index (false when
  // there is none such, or it could not be applied whole). Scanners without schemes list none.
  virtual std::vector<std::string> ListUserSettings() const { return {}; }
  virtual bool ApplyUserSetting(int) { return false; }

  void AddClient(HighlighterClient* client);
  void RemoveClient(HighlighterClient* client);

 protected:
  // Reads an attribute's "Background", "Foreground" and "Style" from the subkey of `key` named after it;
  // each value that is there is taken. False when the subkey is missing.
  static bool LoadAttribute(const platform::Registry& registry, const std::string& key,
                            TqeHighLightAttributes& attribute);
  // Adds an attribute under its name (kept sorted, ignoring case); a name already there is ignored.
  TqeHighLightAttributes* RegisterAttribute(std::unique_ptr<TqeHighLightAttributes> attribute);
  // Makes every attribute's change repaint the bound editors.
  void SetAttributeNotifier();
  void TellClientsChanged();

 private:
  std::vector<std::unique_ptr<TqeHighLightAttributes>> attributes_;
  std::vector<HighlighterClient*> clients_;
  std::string defaultFilter_;
  TokenExporter* exporter_ = nullptr;
};

}  // namespace highlighters
