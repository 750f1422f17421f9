// Generated sources in each scanner's language, and a page with styles and scripts in it.
#include "SourceGenerator.h"

#include "Random.h"

namespace bench {
namespace {

std::string Name(Random& r) { return kWords[r.Next(std::size(kWords))] + std::to_string(r.Next(100)); }

std::string PerlBlock(Random& r) {
  const std::string name = Name(r);
  std::string s = "# " + Words(r, 8) + "\r\nsub " + name + " {\r\n    my ($self, %args) = @_;\r\n";
  s += "    my $" + Name(r) + " = \"" + Words(r, 4) + " $args{" + Name(r) + "}\\n\";\r\n";
  s += "    foreach my $i (0 .. " + std::to_string(r.Next(1000)) + ") {\r\n";
  s += "        next unless defined $ENV{'" + Name(r) + "'};\r\n";
  s += "        $total += $i * 0x1F + 1e-3 if $i =~ /^\\d+$/ and $i ne '';\r\n    }\r\n";
  s += "    print STDERR join(', ', @ARGV), \"\\n\" or die \"" + Words(r, 3) + ": $!\";\r\n";
  s += "    return wantarray ? @list : scalar(@list); # " + Words(r, 4) + "\r\n}\r\n\r\n";
  return s;
}

std::string CppBlock(Random& r) {
  const std::string name = Name(r);
  std::string s = "/* " + Words(r, 6) + "\r\n   " + Words(r, 8) + "\r\n */\r\n";
  s += "#define " + Name(r) + " " + std::to_string(r.Next(4096)) + "\r\n";
  s += "static int " + name + "(const char* text, unsigned long count) {\r\n";
  s += "  int total = 0x1FUL; // " + Words(r, 5) + "\r\n";
  s += "  for (unsigned long i = 0; i < count; ++i) {\r\n";
  s += "    if (text[i] == '\\'' || text[i] == '\"') total += 3.14159 * i;\r\n";
  s += "    else total -= (total >> 2) & 0xFF;\r\n  }\r\n";
  s += "  printf(\"" + Words(r, 4) + " %d\\n\", total);\r\n";
  s += "  return total != 0 ? total : " + std::to_string(r.Next(100)) + ";\r\n}\r\n\r\n";
  return s;
}

std::string JavaBlock(Random& r) {
  const std::string name = Name(r);
  std::string s = "    /**\r\n     * " + Words(r, 8) + "\r\n     * @param text " + Words(r, 4) + "\r\n     */\r\n";
  s += "    public static synchronized int " + name + "(String text, long count) {\r\n";
  s += "        int total = 0xFFL; // " + Words(r, 5) + "\r\n";
  s += "        for (int i = 0; i < count; i++) {\r\n";
  s += "            if (text.charAt(i) == '\\'' || text.isEmpty()) total += i >>> 2;\r\n";
  s += "            else total -= (total >> 2) & 0xFF; /* " + Words(r, 3) + " */\r\n        }\r\n";
  s += "        System.out.println(\"" + Words(r, 4) + " \" + total);\r\n";
  s += "        return total != 0 ? total : " + std::to_string(r.Next(100)) + ";\r\n    }\r\n\r\n";
  return s;
}

std::string VbsBlock(Random& r) {
  const std::string name = Name(r);
  std::string s = "' " + Words(r, 8) + "\r\nFunction " + name + "(ByVal text, count)\r\n";
  s += "  Dim total, i : total = 0 ' " + Words(r, 4) + "\r\n";
  s += "  For i = 1 To count\r\n";
  s += "    If Mid(text, i, 1) = \"\"\"\" Or i Mod 2 = 0 Then total = total + 1.5E3 * i\r\n";
  s += "  Next\r\n  Response.Write \"" + Words(r, 4) + " \" & total & #1/1/2000#\r\n";
  s += "  " + name + " = total\r\nEnd Function\r\n\r\n";
  return s;
}

std::string SqlBlock(Random& r) {
  std::string s = "/* " + Words(r, 6) + "\r\n   " + Words(r, 8) + " */\r\n";
  s += "SELECT a." + Name(r) + ", b." + Name(r) + ", COUNT(*) AS total -- " + Words(r, 3) + "\r\n";
  s += "  FROM " + Name(r) + " a INNER JOIN " + Name(r) + " b ON a.id = b.id\r\n";
  s += "  WHERE a.name LIKE '" + Words(r, 1) + "%' AND b.value BETWEEN 1.5e-3 AND " + std::to_string(r.Next(1000)) +
       "\r\n  GROUP BY a.id ORDER BY total DESC;\r\n";
  s += "INSERT INTO " + Name(r) + " (id, text) VALUES (" + std::to_string(r.Next(100)) + ", \"" + Words(r, 4) +
       "\");\r\n\r\n";
  return s;
}

std::string PascalBlock(Random& r) {
  const std::string name = Name(r);
  std::string s = "{ " + Words(r, 6) + "\r\n  " + Words(r, 8) + " }\r\n";
  s += "function T" + name + ".Count(const Text: string; Limit: Integer): Integer;\r\n";
  s += "var\r\n  I: Integer; (* " + Words(r, 3) + " *)\r\nbegin\r\n  Result := $1F;\r\n";
  s += "  for I := 1 to Limit do\r\n    if Text[I] = '''' then Inc(Result, I * 2) else Dec(Result);\r\n";
  s += "  WriteLn('" + Words(r, 4) + "', #13#10, 3.14); // " + Words(r, 3) + "\r\nend;\r\n";
  s += "  property " + Name(r) + ": Integer read F" + name + " write Set" + name + ";\r\n\r\n";
  return s;
}

std::string AwkBlock(Random& r) {
  std::string s = "# " + Words(r, 8) + "\r\n";
  s += "$1 == \"" + Words(r, 1) + "\" { count[$2]++; total += $3; next }\r\n";
  s += "/" + Words(r, 1) + "/ { gsub(/a/, \"b\"); print $1, NR, length($0) > \"out.txt\" }\r\n";
  s += "function " + Name(r) + "(x, y) {\r\n  if (x >= y && y != 0) return substr(x, 1, " + std::to_string(r.Next(50)) +
       ")\r\n  return x % y\r\n}\r\n";
  s += "END { for (k in count) printf \"%s %d\\n\", k, count[k] }\r\n\r\n";
  return s;
}

// Style sheets as people write them and as tools minify them: selectors of every kind, declarations with
// colours, units, functions and !important, media queries and comments.
std::string CssBlock(Random& r) {
  const std::string name = Name(r);
  if (r.Next(3) == 0)
    return "." + name + "{margin:0 auto;padding:.5em 1.5em;color:#3a3a3a;background:url(img/" + name +
           ".png) no-repeat}#" + Name(r) + " ." + Name(r) + ">li+li{border-left:1px solid rgba(0,0,0,.1)}\r\n";
  std::string s = "/* " + Words(r, 6) + "\r\n   " + Words(r, 5) + " */\r\n";
  s += "." + name + ", #" + Name(r) + " > a:hover, ul li::before, input[type=\"text\"] {\r\n";
  s += "  color: #" + std::string(r.Next(2) ? "c0c0c0" : "fa0") + " !important;\r\n";
  s += "  margin: -1.5em " + std::to_string(r.Next(40)) + "px 0 50%;\r\n";
  s += "  font: 12px/1.5 \"Open Sans\", sans-serif;\r\n";
  s += "  width: calc(100% - var(--gap, 8px));\r\n}\r\n";
  s += "@media screen and (max-width: " + std::to_string(400 + r.Next(800)) + "px) {\r\n  ." + name +
       " { display: none; transform: rotate(45deg) scale(1.2); }\r\n}\r\n\r\n";
  return s;
}

// A library's functions: template literals with substitutions, regular expressions, divisions, strings,
// comments and the reserved words.
std::string JsBlock(Random& r) {
  const std::string name = Name(r);
  std::string s = "/**\r\n * " + Words(r, 8) + "\r\n * @param {string} text " + Words(r, 3) + "\r\n */\r\n";
  s += "export async function " + name + "(text, { count = " + std::to_string(r.Next(100)) + " } = {}) {\r\n";
  s += "  const pattern = /^[a-z_$][\\w$]*\\/?$/gi, half = total / 2 / count; // " + Words(r, 4) + "\r\n";
  s += "  let html = `<li class=\"${text.kind}\">${items.map(i => `<b>${i.name}</b>`).join('')}</li>`;\r\n";
  s += "  for (const key of Object.keys(this.#cache ?? {})) if (key !== '" + Words(r, 1) + "') await fetch(key);\r\n";
  s += "  return typeof text === \"string\" ? text.replace(/\\s+/g, ' ') : null ?? 0x1F + 1_000.5e-3;\r\n}\r\n\r\n";
  return s;
}

// A PHP template: HTML with <?php ?> blocks and <?= ?> echoes, a loop, strings with variables, heredocs.
std::string PhpBlock(Random& r) {
  const std::string name = Name(r);
  std::string s = "<div class=\"" + name + "\">\r\n<?php\r\n// " + Words(r, 6) + "\r\n";
  s += "foreach ($items as $key => $" + name + ") {\r\n";
  s += "    if (isset($" + name + "['title']) && $key !== 0x1F) { echo \"<h2>{$" + name + "['title']}</h2>\"; }\r\n";
  s += "    $text = <<<EOT\r\n    " + Words(r, 8) + " $key\r\n    EOT;\r\n}\r\n?>\r\n";
  s += "  <a href=\"<?= htmlspecialchars($url) ?>\" title=\"" + Words(r, 3) + "\"><?= $" + Name(r) + " ?></a>\r\n";
  s += "  <p>" + Words(r, 9) + " &amp; " + Words(r, 3) + "</p>\r\n</div>\r\n\r\n";
  return s;
}

// A page's own markup between its styles and scripts: paragraphs, lists and style attributes.
std::string HtmlBlock(Random& r) {
  std::string s = "<div id=\"d" + std::to_string(r.Next(1000)) + "\" style=\"margin: 0 auto; color: #333\">\r\n";
  s += "  <p align=center>" + Words(r, 7) + " &amp; " + Words(r, 4) + "</p>\r\n<ul>\r\n";
  for (int item = 0; item < 4; ++item)
    s += "  <li><a href=\"" + Words(r, 1) + ".htm\">" + Words(r, 3) + "</a></li>\r\n";
  return s + "</ul>\r\n</div>\r\n";
}

// A page whose styles and scripts take about a third of it each.
std::string WebPageBlock(Random& r) {
  switch (r.Next(3)) {
    case 0:
      return "<style type=\"text/css\">\r\n" + CssBlock(r) + CssBlock(r) + "</style>\r\n";
    case 1:
      return "<script>\r\n" + JsBlock(r) + "</script>\r\n";
    default:
      return HtmlBlock(r) + HtmlBlock(r);
  }
}

}  // namespace

std::string RealisticSource(std::string_view language, std::size_t bytes) {
  Random r(20261208);
  const struct {
    std::string_view language;
    std::string (*block)(Random&);
  } blocks[] = {{"perl", PerlBlock},     {"cpp", CppBlock},       {"java", JavaBlock},      {"vbscript", VbsBlock},
                {"sql", SqlBlock},       {"pascal", PascalBlock}, {"awk", AwkBlock},        {"css", CssBlock},
                {"javascript", JsBlock}, {"php", PhpBlock},       {"webpage", WebPageBlock}};
  std::string (*block)(Random&) = JavaBlock;
  for (const auto& b : blocks)
    if (b.language == language) block = b.block;
  std::string source = language == "java" ? "public class Generated {\r\n" : "";
  while (source.size() < bytes) source += block(r);
  if (language == "java") source += "}\r\n";
  return source;
}

}  // namespace bench
