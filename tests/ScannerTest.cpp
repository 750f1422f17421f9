// Every scanner of the factory: highlighting from the stored states equals one pass from the top, also after
// edits; line ends and empty lines; and what the Perl, C++ and Java scanners keep across lines or report
// that token dumps do not show.
#include <gtest/gtest.h>

#include <map>

#include "EditorFixture.h"
#include "highlighters/AwkHighlighter.h"
#include "highlighters/CppHighlighter.h"
#include "highlighters/HighlighterFactory.h"
#include "highlighters/JavaHighlighter.h"
#include "highlighters/PascalHighlighter.h"
#include "highlighters/PerlHighlighter.h"
#include "highlighters/SqlHighlighter.h"
#include "platform/MemoryRegistry.h"

using highlighters::TqeCustomHighLighter;

namespace {

// Every token of a line as "TEXT:KIND", the scanner's range at its start already set.
std::vector<std::string> Tokens(TqeCustomHighLighter& scanner, std::string_view line) {
  std::vector<std::string> tokens;
  scanner.StartLine(line, 0);
  for (; !scanner.AtLineEnd(); scanner.NextToken())
    tokens.push_back(std::string(scanner.TokenText()) + ":" + std::to_string(scanner.TokenKind()));
  return tokens;
}

// Lines of each language that open and close what spans lines, and what each scanner is typed over with.
struct Sample {
  std::vector<const char*> pieces;
  std::vector<const char*> typed;
};
const std::map<std::string, Sample> kSamples = {
    {"html",
     {{"<p class=x>text &amp; more", "<!-- comment", "still comment -->", "<% if a then", "b %> <td",
       "  align=", "\"center\">", "&lt;end"},
      {"<!--", "-->", "\"", "<%", "%>"}}},
    {"perl",
     {{"my $x = \"a string\";", "# comment", "print $ENV{HOME} . 'x';", "s/a/b/ for @list;", "1..5 0x1F $^W",
       "sub name { return 1e-5; }"},
      {"\"", "'", "#", "$"}}},
    {"cpp",
     {{"int a; /* open", "still */ b = 2;", "#define X 1", "s = \"str\\\"ing\";", "// line comment", "x >>= 0x1FUL;",
       "__asm", "mov eax, 1"},
      {"/*", "*/", "\"", "//", "asm"}}},
    {"java",
     {{"/** doc", " * more */ class A {", "/* block", " end */ int x;", "String s = \"x\";", "a >>>= 1-2;", "// line"},
      {"/**", "/*", "*/", "\""}}},
    {"vbscript", {{"Dim x ' comment", "x = \"a\" & #1/1/2000#", "If x <> 1 Then"}, {"'", "\"", "#"}}},
    {"sql",
     {{"SELECT a /* open", "still */ FROM t", "-- dash", "WHERE x = 'y' # hash", "/*/ done"}, {"/*", "*/", "--", "'"}}},
    {"pascal",
     {{"property X: Integer read FX", "  write FX;", "asm mov eax, 1 { open", " } end;", "(* paren", " *) x := 1;",
       "  private", "{ brace }"},
      {"{", "}", "(*", "*)", "asm", "end", "property ", "'"}}},
    {"awk", {{"BEGIN { FS = \":\" }", "$1 == \"x\" { next file; }", "# comment"}, {"\"", "'", "#", "$"}}},
    {"css",
     {{"a { color: red; /* open", "still */ margin: 0 }", "@media x { p {", "  top: 1px", "} }", ".x:hover, #y > z {",
       "content: 'str'; background: url(a.png)"},
      {"/*", "*/", "{", "}", ":", "'", "@media "}}},
    {"javascript",
     {{"let a = `x ${b", " } y`; /* open", "still */ c = /re/ / 2;", "s = 'a\\", "b';", "// line", "{ `${ {", "} }` }"},
      {"`", "${", "}", "{", "/*", "*/", "'", "\\"}}},
    {"php",
     {{"<p><?php $a = 1; /* open", "still */ echo \"x", "y\"; ?></p>", "<?= $b ?>", "<?php $t = <<<EOT", "EOT;",
       "<style>a{b:c}</style>", "<script>f(`a", "b`)</script>"},
      {"<?php ", "?>", "\"", "/*", "*/", "<<<EOT", "<style>", "</style>", "<script>", "`"}}},
    {"webpage",
     {{"<style>a { color: red; /* open", "still */ }</style>", "<script>let t = `a", "${b}`;</script>",
       "<p style=\"color: red\">x</p>", "<% If a Then", "b %><?php $c /* x", "*/ ?><script", " type=module>x",
       "</script><script type=\"text/template\"><b>", "</script><p style=\"a: b <?= $x ?> c\">"},
      {"<style>", "</style>", "<script>", "</script>", "<%", "%>", "<?php ", "?>", "`", "/*", "*/", "\"",
       "<%@ language=jscript %>"}}},
};

}  // namespace

TEST(ScannerFactory, EveryLanguageHasASampleAndMakesItsScanner) {
  for (const highlighters::Language& language : highlighters::Languages()) {
    EXPECT_TRUE(kSamples.count(std::string(language.name))) << language.name;
    auto scanner = highlighters::CreateHighlighter(language.name);
    ASSERT_NE(scanner, nullptr) << language.name;
    EXPECT_EQ(scanner->DefaultFilter(), language.defaultFilter);
  }
  EXPECT_EQ(highlighters::CreateHighlighter("cobol"), nullptr);
  EXPECT_EQ(highlighters::CreateHighlighter("Perl"), nullptr) << "names are the short ones";
}

// Highlighting line by line from the stored states gives what one pass from the top gives, also after
// edits that open and close comments and strings.
TEST_F(EditorTest, EveryScannersStoredStatesReproduceAWholePass) {
  for (const auto& [name, sample] : kSamples) {
    auto scanner = highlighters::CreateHighlighter(name);
    ASSERT_NE(scanner, nullptr) << name;
    std::vector<std::string> text;
    for (size_t i = 0; i < 300; ++i) text.push_back(sample.pieces[(i * 7) % sample.pieces.size()]);
    SetLines(text);
    editor.SetHighLighter(scanner.get());
    for (size_t i = 0; i < 60; ++i) {
      editor.SetCaretXY({static_cast<int>(i * 3) % 20 + 1, static_cast<int>(i * 37) % 300 + 1});
      Type(sample.typed[i % sample.typed.size()]);
    }
    auto fresh = highlighters::CreateHighlighter(name);
    fresh->ResetRangeState();
    std::vector<std::string> whole, stored;
    for (int i = 0; i < editor.LineCount(); ++i)
      for (const std::string& t : Tokens(*fresh, editor.Lines().Get(i))) whole.push_back(std::to_string(i) + " " + t);
    for (int i = 0; i < editor.LineCount(); ++i) {
      scanner->SetRangeState(editor.Lines().Slot(i));
      for (const std::string& t : Tokens(*scanner, editor.Lines().Get(i)))
        stored.push_back(std::to_string(i) + " " + t);
    }
    EXPECT_EQ(stored, whole) << name;
    editor.SetHighLighter(nullptr);
  }
}

// Each scanner's colours go to the registry and come back into a new one of its kind, every attribute by
// its own name.
TEST(Scanners, EveryLanguagesAttributesRoundTripThroughTheRegistry) {
  for (const highlighters::Language& language : highlighters::Languages()) {
    platform::MemoryRegistry registry;
    auto saved = highlighters::CreateHighlighter(language.name);
    for (int i = 0; i < saved->AttributeCount(); ++i) saved->AttributeAt(i)->SetForeground(platform::Rgb(i, 7, 9));
    ASSERT_TRUE(saved->SaveAttributes(registry, "HKEY_CURRENT_USER", "Software\\Quillmark\\X")) << language.name;
    auto loaded = highlighters::CreateHighlighter(language.name);
    ASSERT_TRUE(loaded->LoadAttributes(registry, "HKEY_CURRENT_USER", "Software\\Quillmark\\X")) << language.name;
    ASSERT_EQ(loaded->AttributeCount(), saved->AttributeCount());
    for (int i = 0; i < loaded->AttributeCount(); ++i)
      EXPECT_EQ(loaded->AttributeAt(i)->Foreground(), platform::Rgb(i, 7, 9))
          << language.name << " " << loaded->AttributeAt(i)->Name();
  }
}

// The rescan reads a line with ScanToLineEnd, which may skip building tokens; painting reads it token by
// token. Both must leave the state the next line starts in alike, or the editor paints what it did not
// scan: over every sample line, from every state a whole pass reaches and after each typed piece.
TEST(Scanners, TheRescansLoopEndsEachLineAsTheTokenLoopDoes) {
  for (const auto& [name, sample] : kSamples) {
    auto scanner = highlighters::CreateHighlighter(name);
    std::vector<highlighters::RangeValue> states;
    scanner->ResetRangeState();
    for (int round = 0; round < 3; ++round)
      for (const char* piece : sample.pieces) {
        states.push_back(scanner->RangeState());
        Tokens(*scanner, piece);
      }
    std::vector<std::string> lines(sample.pieces.begin(), sample.pieces.end());
    for (const char* typed : sample.typed)
      for (const char* piece : sample.pieces) lines.push_back(std::string(piece) + typed + piece);
    for (const highlighters::RangeValue start : states)
      for (const std::string& line : lines) {
        scanner->SetRangeState(start);
        Tokens(*scanner, line);
        const highlighters::RangeValue byTokens = scanner->RangeState();
        scanner->SetRangeState(start);
        scanner->StartLine(line, 0);
        scanner->ScanToLineEnd();
        EXPECT_EQ(scanner->RangeState(), byTokens) << name << " from " << start << ": " << line;
      }
  }
}

TEST(Scanners, EmptyLinesAndLineEndsInsideALine) {
  for (const highlighters::Language& language : highlighters::Languages()) {
    auto scanner = highlighters::CreateHighlighter(language.name);
    scanner->ResetRangeState();
    scanner->StartLine("", 0);
    EXPECT_TRUE(scanner->AtLineEnd()) << language.name;
    EXPECT_EQ(scanner->TokenText(), "");
    EXPECT_EQ(scanner->TokenAttribute(), nullptr);
    // HTML's text runs stop elsewhere, and pages and PHP files read their text as HTML; its own test covers them.
    if (language.name == "html" || language.name == "webpage" || language.name == "php") continue;
    const auto tokens = Tokens(*scanner, "a\r\nb\nc");
    ASSERT_EQ(tokens.size(), 5u) << language.name;
    EXPECT_EQ(tokens[1].substr(0, 3), "\r\n:") << "one space token of two characters";
    EXPECT_EQ(tokens[3].substr(0, 2), "\n:");
  }
}

TEST(Scanners, CommentsKeepTheirRangeAcrossLinesAndLineEnds) {
  highlighters::TUloCppSyn cpp;
  cpp.ResetRangeState();
  EXPECT_EQ(cpp.RangeState(), highlighters::TUloCppSyn::rsUnknown);
  Tokens(cpp, "x; /* open");
  EXPECT_EQ(cpp.RangeState(), highlighters::TUloCppSyn::rsComment);
  EXPECT_EQ(Tokens(cpp, "a\r\nb"), (std::vector<std::string>{"a:1", "\r\n:7", "b:1"}))
      << "a line end inside a comment is a space, and the comment goes on after it";
  Tokens(cpp, "*/ y;");
  EXPECT_EQ(cpp.RangeState(), highlighters::TUloCppSyn::rsUnknown);
  Tokens(cpp, "int a; asm");
  EXPECT_EQ(cpp.RangeState(), highlighters::TUloCppSyn::rsAsm) << "a line ending with asm starts the next in it";
  EXPECT_EQ(Tokens(cpp, "mov"), (std::vector<std::string>{"mov:3"}));
  EXPECT_EQ(cpp.RangeState(), highlighters::TUloCppSyn::rsUnknown);

  highlighters::TUloJavaSyn java;
  java.ResetRangeState();
  Tokens(java, "/**/");
  EXPECT_EQ(java.RangeState(), highlighters::TUloJavaSyn::rsDocument) << "the closer is looked for after the opener";
  EXPECT_EQ(Tokens(java, "*/ x"), (std::vector<std::string>{"*/:1", " :7", "x:2"}));
  Tokens(java, "/* block");
  EXPECT_EQ(java.RangeState(), highlighters::TUloJavaSyn::rsComment);

  highlighters::TUloPerlSyn perl;
  Tokens(perl, "\"open string");
  EXPECT_EQ(perl.RangeState(), 0u) << "nothing in Perl spans lines";
}

TEST(Scanners, WordCharactersCapabilitiesAndDefaultColours) {
  highlighters::TUloPerlSyn perl;
  highlighters::TUloCppSyn cpp;
  highlighters::TUloJavaSyn java;
  EXPECT_TRUE(perl.WordChars().test('$') && perl.WordChars().test('%') && perl.WordChars().test('@'));
  EXPECT_FALSE(cpp.WordChars().test('$'));
  EXPECT_TRUE(java.WordChars().test('$') && java.WordChars().test('_') && !java.WordChars().test('@'));
  EXPECT_EQ(perl.Capabilities(), highlighters::kRegistry);
  EXPECT_EQ(cpp.Capabilities(), highlighters::kUserSettings | highlighters::kRegistry);
  EXPECT_EQ(java.Capabilities(), highlighters::kRegistry);
  EXPECT_THROW(cpp.StartExportLine("x"), highlighters::EAbstractError);

  EXPECT_EQ(perl.AttributeCount(), 11);
  EXPECT_EQ(perl.VariableAttri->Style(), platform::kBold);
  EXPECT_EQ(perl.SpaceAttri->Foreground(), platform::kColorWindow);
  EXPECT_EQ(cpp.AttributeCount(), 10);
  EXPECT_EQ(cpp.CommentAttri->Style(), platform::kItalic);
  EXPECT_EQ(java.AttributeCount(), 9) << "both invalid kinds share \"Invalid symbol\"";
  EXPECT_EQ(java.DocumentAttri->Style(), platform::kItalic);
  EXPECT_EQ(java.AttributeAt(0)->Name(), "Comment") << "the list is sorted by name";
}

TEST(Scanners, PascalRangesAndTheD4Words) {
  highlighters::TqePasSyn pascal;
  pascal.ResetRangeState();
  Tokens(pascal, "  property Name: string read FName");
  EXPECT_EQ(pascal.RangeState(), highlighters::TqePasSyn::rsProperty);
  Tokens(pascal, "x private");
  EXPECT_EQ(pascal.RangeState(), highlighters::TqePasSyn::rsProperty) << "private after other text";
  Tokens(pascal, " \t private");
  EXPECT_EQ(pascal.RangeState(), highlighters::TqePasSyn::rsUnknown);
  Tokens(pascal, "asm { open");
  EXPECT_EQ(pascal.RangeState(), highlighters::TqePasSyn::rsBorAsm);
  EXPECT_EQ(Tokens(pascal, "} mov"), (std::vector<std::string>{"}:1", " :6", "mov:0"}))
      << "the comment closes back into the assembler block";
  EXPECT_EQ(Tokens(pascal, "end"), (std::vector<std::string>{"end:3"}));
  EXPECT_EQ(pascal.RangeState(), highlighters::TqePasSyn::rsUnknown);

  EXPECT_EQ(Tokens(pascal, "overload"), (std::vector<std::string>{"overload:3"}));
  pascal.D4syntax = false;
  EXPECT_EQ(Tokens(pascal, "overload"), (std::vector<std::string>{"overload:2"}));
  Tokens(pascal, "property X: T");
  EXPECT_EQ(Tokens(pascal, "implements read"), (std::vector<std::string>{"implements:2", " :6", "read:3"}));
}

TEST(Scanners, SqlSchemesComeWholeFromTheSettingsStore) {
  platform::MemoryRegistry settings;
  const std::string key = highlighters::TgxSQLSyn::kSchemesKey;
  for (const char* name : {"Comment", "Identifier", "Reserved word", "Number", "String", "Symbol"})
    settings.WriteInteger(key + "\\Dark\\" + name, "Foreground", 0x00FF00);
  settings.WriteInteger(key + "\\Dark\\Comment", "Style", 0);
  settings.WriteInteger(key + "\\Broken\\Comment", "Foreground", 0x0000FF);

  highlighters::TgxSQLSyn none;
  EXPECT_TRUE(none.ListUserSettings().empty());
  EXPECT_FALSE(none.ApplyUserSetting(0)) << "without a store there is no scheme";
  EXPECT_EQ(none.CommentAttri->Style(), platform::kItalic);

  highlighters::TgxSQLSyn sql(&settings);
  EXPECT_EQ(sql.ListUserSettings(), (std::vector<std::string>{"Broken", "Dark"}));
  EXPECT_FALSE(sql.ApplyUserSetting(2));
  EXPECT_EQ(sql.CommentAttri->Foreground(), platform::kColorWindowText)
      << "the first scheme lacks attributes: nothing of it stays";
  EXPECT_TRUE(sql.ApplyUserSetting(1));
  EXPECT_EQ(sql.CommentAttri->Foreground(), 0x00FF00u);
  EXPECT_EQ(sql.CommentAttri->Style(), 0);
  EXPECT_EQ(sql.SymbolAttri->Foreground(), 0x00FF00u);
}

namespace {

class ExportLog : public highlighters::TokenExporter {
 public:
  void ExportToken(std::string_view text, const highlighters::TqeHighLightAttributes* attribute, bool isSpace,
                   bool escape) override {
    log.push_back(std::string(text) + "|" + (attribute ? attribute->Name() : "-") + (isSpace ? "|space" : "") +
                  (escape ? "|escape" : ""));
  }
  std::vector<std::string> log;
};

std::vector<std::string> Exported(TqeCustomHighLighter& scanner, std::string_view line) {
  ExportLog log;
  scanner.SetExporter(&log);
  scanner.StartExportLine(line);
  while (!scanner.AtLineEnd()) scanner.ExportNextToken();
  scanner.SetExporter(nullptr);
  return log.log;
}

}  // namespace

TEST(Scanners, PascalAndAwkExportTheirTokens) {
  highlighters::TqePasSyn pascal;
  pascal.ResetRangeState();
  EXPECT_EQ(Exported(pascal, "x:='a'{c}"), (std::vector<std::string>{"x|Identifier", ":=|Symbol|escape",
                                                                     "'a'|String|escape", "{c}|Comment|escape", "|-"}));
  pascal.SetRangeState(highlighters::TqePasSyn::rsAsm);
  EXPECT_EQ(Exported(pascal, "mov ;"),
            (std::vector<std::string>{"mov|Assembler", " |Space|space", ";|Assembler", "|-"}))
      << "inside an assembler block a symbol is assembler, and not escaped";

  highlighters::TzrAWKSyn awk;
  EXPECT_EQ(Exported(awk, "{ \"a\\\"b\" }"), (std::vector<std::string>{"{|Symbol", " |Space|space", "\"a\\\"b\"|String",
                                                                       " |Space|space", "}|Symbol", "|-"}))
      << "AWK never asks for escapes";
}
