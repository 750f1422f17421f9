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

}  // namespace

std::string RealisticSource(std::string_view language, std::size_t bytes) {
  Random r(20261208);
  std::string (*block)(Random&) = language == "perl" ? PerlBlock : language == "cpp" ? CppBlock : JavaBlock;
  std::string source = language == "java" ? "public class Generated {\r\n" : "";
  while (source.size() < bytes) source += block(r);
  if (language == "java") source += "}\r\n";
  return source;
}

}  // namespace bench
