// Generated Perl, C++ and Java sources.
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

}  // namespace

std::string RealisticSource(std::string_view language, std::size_t bytes) {
  Random r(20261208);
  const struct {
    std::string_view language;
    std::string (*block)(Random&);
  } blocks[] = {{"perl", PerlBlock}, {"cpp", CppBlock},       {"java", JavaBlock}, {"vbscript", VbsBlock},
                {"sql", SqlBlock},   {"pascal", PascalBlock}, {"awk", AwkBlock}};
  std::string (*block)(Random&) = JavaBlock;
  for (const auto& b : blocks)
    if (b.language == language) block = b.block;
  std::string source = language == "java" ? "public class Generated {\r\n" : "";
  while (source.size() < bytes) source += block(r);
  if (language == "java") source += "}\r\n";
  return source;
}

}  // namespace bench
