// Generated HTML pages.
#include "PageGenerator.h"

#include <cstdio>

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

std::string WordProcessorRtf(std::size_t bytes) {
  Random r(7);
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
      "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n"
      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red31\\green73\\blue125;}\r\n"
      "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n";
  while (rtf.size() < bytes) {
    if (r.Next(6) == 0) {
      for (int item = 0; item < 3; ++item)
        rtf += "{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720 " +
               Words(r, 4) + "\\par\r\n";
      rtf += "\\pard ";
    }
    rtf += "\\pard\\sa200\\sl276\\slmult1\\f" + std::to_string(r.Next(2)) + "\\fs" +
           std::to_string(20 + 2 * static_cast<int>(r.Next(6))) + " " + Words(r, 5) + " \\b " + Words(r, 2) + "\\b0  " +
           Words(r, 4) + " \\i " + Words(r, 3) + "\\i0  \\cf" + std::to_string(r.Next(4)) + " " + Words(r, 6) +
           "\\cf0  caf\\'e9 " + Words(r, 3) + "\\par\r\n";
  }
  return rtf + "}\r\n";
}

std::string SmallGif(int width, int height) {
  // GIF89a, a two-colour global table, one image whose LZW data (minimum code size 2) is a clear code and
  // then colour 1 for every pixel, each as a 3-bit code, and the end code.
  std::string gif = "GIF89a";
  const auto word = [&gif](int v) { gif += char(v & 0xFF), gif += char(v >> 8); };
  word(width);
  word(height);
  gif += "\x80";
  gif += std::string("\0\0", 2);
  gif += std::string("\xFF\x00\x00\x00\x00\xFF", 6);
  gif += ",";
  word(0);
  word(0);
  word(width);
  word(height);
  gif += std::string("\0\x02", 2);
  // Codes: clear (4), then pixels as literal 1s with a clear every so often so the code size stays 3 bits.
  std::string data;
  unsigned bits = 0, count = 0;
  const auto emit = [&](unsigned code) {
    bits |= code << count;
    count += 3;
    while (count >= 8) {
      data += char(bits & 0xFF);
      bits >>= 8;
      count -= 8;
    }
  };
  emit(4);
  for (int i = 0, sinceClear = 0; i < width * height; ++i) {
    emit(1);
    if (++sinceClear == 2) {
      emit(4);
      sinceClear = 0;
    }
  }
  emit(5);
  if (count > 0) data += char(bits & 0xFF);
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::string block = data.substr(at, 255);
    gif += char(block.size());
    gif += block;
  }
  gif += std::string("\0;", 2);
  return gif;
}

std::string RealisticSheet(int rules) {
  Random r(7);
  static const char* const kTags[] = {"p", "td", "li", "span", "div", "a", "b", "i", "table", "ul"};
  static const char* const kProperties[] = {"color: #%06x",
                                            "font-weight: bold",
                                            "font-style: italic",
                                            "text-align: center",
                                            "margin: 0 auto",
                                            "padding: 2px 4px",
                                            "border: 1px solid #%06x",
                                            "font: 12px/1.4 Georgia, serif",
                                            "background: #%06x url(x.png)",
                                            "text-decoration: none"};
  std::string sheet;
  char buffer[64];
  for (int i = 0; i < rules; ++i) {
    if (i % 100 == 99) sheet += "@media (max-width: " + std::to_string(400 + r.Next(800)) + "px) {\n";
    const char* tag = kTags[r.Next(10)];
    switch (r.Next(6)) {
      case 0:
        sheet += ".c" + std::to_string(r.Next(8));
        break;
      case 1:
        sheet += "#d" + std::to_string(r.Next(1000));
        break;
      case 2:
        sheet += std::string("div ") + tag;
        break;
      case 3:
        sheet += std::string("table > tr > td.cell, ") + tag + ".k" + std::to_string(i);
        break;
      case 4:
        sheet += std::string(tag) + "[align=center]";
        break;
      default:
        sheet += std::string("ul li ") + tag + ":first-child";
    }
    sheet += " { ";
    for (int d = 0, n = 1 + static_cast<int>(r.Next(3)); d < n; ++d) {
      std::snprintf(buffer, sizeof buffer, kProperties[r.Next(10)], static_cast<unsigned>(r.Next(0xFFFFFF)));
      sheet += buffer;
      sheet += r.Next(20) == 0 ? " !important; " : "; ";
    }
    sheet += "}\n";
    if (i % 100 == 99) sheet += "}\n";
  }
  return sheet;
}

}  // namespace bench
