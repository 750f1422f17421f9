// Generated HTML pages.
#include "PageGenerator.h"

#include "Random.h"

namespace bench {

std::string RealisticHtml(std::size_t bytes) {
  Random r(20261208);
  std::string page =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
      "<title>Generated page</title>\r\n</head>\r\n<body bgcolor=\"#FFFFFF\">\r\n";
  while (page.size() < bytes) {
    switch (r.Next(7)) {
      case 0:
        page += "<!-- " + Words(r, 6) + "\r\n   " + Words(r, 8) + "\r\n-->\r\n";
        break;
      case 1:
        page += "<% If Request(\"" + Words(r, 1) + "\") <> \"\" Then\r\n  Response.Write \"" + Words(r, 4) +
                "\"\r\nEnd If %>\r\n";
        break;
      case 2:
        page += "<table border=\"1\" cellpadding=\"2\">\r\n";
        for (int row = 0; row < 4; ++row) {
          page += "  <tr>";
          for (int col = 0; col < 3; ++col)
            page += "<td nowrap class=c" + std::to_string(col) + ">" + Words(r, 2) + "</td>";
          page += "</tr>\r\n";
        }
        page += "</table>\r\n";
        break;
      case 3:
        page += "<ul>\r\n";
        for (int item = 0; item < 5; ++item)
          page += "  <li><a href=\"" + Words(r, 1) + ".htm\">" + Words(r, 3) + "</a></li>\r\n";
        page += "</ul>\r\n";
        break;
      case 4:
        page +=
            "<p align=center>" + Words(r, 5) + " &amp; " + Words(r, 4) + " &copy; &nbsp;" + Words(r, 3) + "</p>\r\n";
        break;
      case 5:
        page += "<div id=\"d" + std::to_string(r.Next(1000)) + "\">\r\n  <span style=\"color: red\">" + Words(r, 6) +
                "</span>\r\n</div>\r\n";
        break;
      default:
        page += Words(r, 9) + " &lt;b&gt; " + Words(r, 3) + "\r\n";
        break;
    }
  }
  return page + "</body>\r\n</html>\r\n";
}

std::string LinePage(int lines) {
  Random r(42);
  std::string page;
  page.reserve(static_cast<std::size_t>(lines) * 52);
  for (int i = 0; i < lines; ++i) {
    switch (r.Next(4)) {
      case 0:
        page += "<tr><td class=\"cell\">" + Words(r, 3) + "</td></tr>";
        break;
      case 1:
        page += "  <p>" + Words(r, 5) + " &amp; more</p>";
        break;
      case 2:
        page += Words(r, 9);
        break;
      default:
        page += "<a href=\"" + Words(r, 1) + ".htm\">" + Words(r, 3) + "</a>";
        break;
    }
    page += "\r\n";
  }
  return page;
}

}  // namespace bench
