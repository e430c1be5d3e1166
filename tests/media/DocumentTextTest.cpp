// The document converter through its public seam: what a licence or readme page shows when no
// browser control can show the HTML or MHT file, checked line by line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/DocumentText.h"
#include "media/HtmlText.h"

namespace vesk {
namespace {

using namespace std::string_literals;

// Latin-1 as the code page: enough to tell encoded characters from ASCII stand-ins.
std::string Latin1(std::uint32_t codePoint) {
    return codePoint < 0x100 ? std::string(1, char(codePoint)) : std::string();
}

std::string NothingBeyondAscii(std::uint32_t) {
    return {};
}

// Expected texts are written with "\n"; the converter ends lines with CR LF.
std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

struct Case {
    const char* name;
    std::string input;
    std::string expected;
};

TEST(HtmlToTextTest, LaysOutBlocksListsTablesAndPreformattedText) {
    const std::vector<Case> cases = {
        {"licence paragraphs, head, script, style and comments dropped",
         "<!DOCTYPE html>\n<html>\n<head><title>Licence agreement</title>\n"
         "<style>p { margin: 0 }</style><script>document.write('<p>no</p>');</script></head>\n"
         "<body style=\"font-size: 8pt\">\n<p><b>VESK DEMO   LICENCE</b></p>\n"
         "<p>You may install it,\n   copy it and <!-- not <p>this</p> -->give it away.</p>\n"
         "<![CDATA[ raw ]]><p>THE SAMPLE IS PROVIDED \"AS IS\".</p>\n</body>\n</html>\n",
         "VESK DEMO LICENCE\n\nYou may install it, copy it and give it away.\n\n"
         "THE SAMPLE IS PROVIDED \"AS IS\"."},
        {"headings, breaks and unclosed paragraphs",
         "<h1>Terms</h1>Intro text<p>First<br>second line<br><br>after an empty line<p>Next"
         "<h2>More</h2>",
         "Terms\n\nIntro text\n\nFirst\nsecond line\n\nafter an empty line\n\nNext\n\nMore"},
        {"nested lists with bullets, numbers, letters, roman numerals and values",
         "<p>Rules:</p><ul><li>one<li>two<ol type=\"a\"><li>alpha</li><li>beta<ol type=I start=3>"
         "<li>third</ol></ol><li>three</ul><ol start=\"9\"><li>nine</li><li value=20>twenty"
         "<li>twenty-one</ol>after",
         "Rules:\n\n- one\n- two\n  a. alpha\n  b. beta\n     III. third\n- three\n\n9. nine\n"
         "20. twenty\n21. twenty-one\n\nafter"},
        {"list items with paragraphs, breaks and no text",
         "<ol><li><p>Grant.</p><p>More of it.</p></li><li></li><li>Line<br>continued</li></ol>",
         "1. Grant.\n\n   More of it.\n\n2.\n3. Line\n   continued"},
        {"preformatted text keeps its spaces, tabs and lines",
         "<p>Before</p><pre>\n  int main()\r\n\t{ return 0; }\n\n\n</pre><p>After  it</p>",
         "Before\n\n  int main()\n\t{ return 0; }\n\nAfter it"},
        {"table rows on lines, cells apart, empty cells skipped",
         "<table border=1><tr><th>Component</th><th>Licence</th></tr>\n"
         "<tr><td>zlib</td><td></td><td>zlib licence</td></tr>\n<tr><td>DejaVu</td></tr></table>"
         "<table><tr><td><p>Layout cell</p></td></tr></table>",
         "Component | Licence\nzlib | zlib licence\nDejaVu\n\nLayout cell"},
        {"quotations, definitions, rules, inline quotes and textarea",
         "<blockquote>Quoted <i>words</i></blockquote><dl><dt>Software<dd>The program"
         "<dt>You<dd>The user</dl><hr><p><q>Hi</q> there</p><textarea>\n<b>raw</b> &amp; kept\n"
         "  indented</textarea>",
         "    Quoted words\n\nSoftware\n    The program\nYou\n    The user\n\n"
         "--------------------------------\n\n\"Hi\" there\n\n<b>raw</b> & kept\n  indented"},
        {"stray and misnested tags are forgiven",
         "</p></ul></li>text<ul><li>a<table><tr><td><ul><li>in cell</td><td>next</td></tr>"
         "</table></ul><p>tail <span>< 3 and a<b</span>",
         "text\n\n- a\n  - in cell | next\n\ntail < 3 and a"},
        {"plain text without tags", "no tags here", "no tags here"},
        {"nothing visible", "<html><head><title>x</title></head><body> \n </body></html>", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HtmlToText(c.input, Latin1, false), Crlf(c.expected));
    }
}

TEST(HtmlToTextTest, ReadsMarkupAsForgivinglyAsBrowsers) {
    const std::vector<Case> cases = {
        {"comment forms", "a<!-->b<!--->c<!-- x --!>d<!-- -- -->e<!- bogus ->f<?php x ?>g",
         "abcdefg"},
        {"'>' inside quoted attributes", "<p title=\"a > b\" class='c>d'>text</p>", "text"},
        {"raw text ends only at its own end tag, in any case",
         "<script>if (a</b) x = '</scripts>';</SCRIPT >shown <style>p{}</style\t>too", "shown too"},
        {"a tag cut off by the end is dropped", "kept<p class=\"open", "kept"},
        {"unterminated comment hides the rest", "kept<!-- never closed <p>lost", "kept"},
        {"letters, roman numerals and their limits",
         "<ol type=A start=26><li>z<li>aa</ol><ol type=i start=3999><li>m<li>big</ol>",
         "Z. z\nAA. aa\n\nmmmcmxcix. m\n4000. big"},
        {"deep nesting stops indenting",
         "<ul><li>1<ul><li>2<ul><li>3<ul><li>4<ul><li>5<ul><li>6<ul><li>7<ul><li>8<ul><li>9"
         "<ul><li>10<ul><li>11<ul><li>12<ul><li>13<ul><li>14</ul>",
         "- 1\n  - 2\n    - 3\n      - 4\n        - 5\n          - 6\n            - 7\n"
         "              - 8\n                - 9\n                  - 10\n"
         "                    - 11\n                      - 12\n                        - 13\n"
         "                        - 14"},
        {"zero bytes and control codes never reach the control",
         "a\0b\x01"
         "c\x7F<pre>d\0\te</pre>"s,
         "abc\n\nd\te"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HtmlToText(c.input, Latin1, false), Crlf(c.expected));
    }
}

TEST(HtmlToTextTest, DecodesCharacterReferencesAsBrowsersDo) {
    const std::vector<Case> cases = {
        {"named, decimal and hex", "&lt;&gt;&amp;&quot;&apos; &eacute;&#233;&#xE9;&#XE9;",
         "<>&\"' \xE9\xE9\xE9\xE9"},
        {"no-break spaces do not collapse", "a&nbsp;&nbsp; &nbsp;b", "a    b"},
        {"legacy names without semicolon", "&copy2024 AT&T &amp &ampx &notit; &eacute",
         "\xA9"
         "2024 AT&T & &x \xACit; \xE9"},
        {"unknown and incomplete references stay", "&bogus; &; & &# &#x; &hellip",
         "&bogus; &; & &# &#x; &hellip"},
        {"beyond Latin-1: ASCII stand-ins",
         "&ldquo;x&rdquo; &lsquo;y&rsquo; &ndash; &mdash; &hellip; &bull; &trade; &euro; &minus;",
         "\"x\" 'y' - -- ... * (TM) EUR -"},
        {"numbers 128-159 read as code page 1252", "&#147;q&#148; &#150; &#153; &#129;",
         "\"q\" - (TM)"},
        {"invalid numbers", "&#0;|&#xD800;|&#1114112;|&#99999999999999999999;|&#x1F600;",
         "?|?|?|?|?"},
        {"invisible characters dropped", "soft&shy;hyphen&zwj; &#8203;x&#1;", "softhyphen x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HtmlToText("<p>" + c.input + "</p>", Latin1, false), Crlf(c.expected));
    }
}

TEST(HtmlToTextTest, FallsBackToAsciiWhenTheCodePageLacksACharacter) {
    const std::string html =
        "<p>\xE2\x80\x9C"
        "Caf\xC3\xA9\xE2\x80\x9D \xC2\xA9 \xC5\x81\xC3\xB3"
        "d\xC5\xBA "
        "\xC3\x86sir \xE2\x86\x92 \xEF\xBC\xA1 \xE4\xB8\xAD</p>";
    EXPECT_EQ(HtmlToText(html, NothingBeyondAscii, true), "\"Cafe\" (c) Lodz AEsir -> A ?");
    EXPECT_EQ(HtmlToText(html, Latin1, true),
              "\"Caf\xE9\" \xA9 L\xF3"
              "dz \xC6sir -> A ?");
}

TEST(DocumentToTextTest, ReadsTheEncodingTheDocumentDeclares) {
    const std::string gb = "\xD6\xD0\xCE\xC4\xD0\xED\xBF\xC9";  // GB2312 double-byte text
    const std::vector<Case> cases = {
        {"meta charset utf-8", "<meta charset=\"UTF-8\"><p>na\xC3\xAFve</p>", "na\xEFve"},
        {"http-equiv content charset",
         "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head>"
         "<p>\xE2\x80\x94</p>",
         "--"},
        {"byte order mark", "\xEF\xBB\xBF<p>\xC3\xA9</p>", "\xE9"},
        {"undeclared but well-formed UTF-8", "<p>caf\xC3\xA9</p>", "caf\xE9"},
        {"XML declaration", "<?xml version=\"1.0\" encoding=\"utf-8\"?><p>\xC3\xA9</p>", "\xE9"},
        {"GB2312 declared passes through",
         "<meta http-equiv=Content-Type content=\"text/html; charset=gb2312\"><p>" + gb +
             "</p><p>&copy; " + gb + "</p>",
         gb + "\n\n\xA9 " + gb},
        {"GB2312 undeclared passes through, whitespace around it collapsed",
         "<p>" + gb + "\n   " + gb + "<br>\xB0\xA1</p>", gb + " " + gb + "\n\xB0\xA1"},
        {"declared latin charset is not UTF-8", "<meta charset=iso-8859-1><p>\xC3\xA9</p>",
         "\xC3\xA9"},
        {"UTF-16 little endian with byte order mark", "\xFF\xFE<\0p\0>\0\xE9\0 \0\x14\x20"s,
         "\xE9 --"},
        {"plain text stays plain: angle brackets and line breaks kept",
         "  Copyright (C) <year>  <name of author>   \r\n\r\n\r\nSee <https://example.org/>.\n",
         "  Copyright (C) <year>  <name of author>\n\nSee <https://example.org/>."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DocumentToText(c.input, Latin1), Crlf(c.expected));
    }
}

std::string Base64(const std::string& bytes) {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t bits = std::uint32_t(static_cast<unsigned char>(bytes[i])) << 16;
        if (i + 1 < bytes.size())
            bits |= std::uint32_t(static_cast<unsigned char>(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size()) bits |= static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(bits >> 18) & 63];
        out += kAlphabet[(bits >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(bits >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kAlphabet[bits & 63] : '=';
        if (out.size() % 78 == 76) out += "\r\n";
    }
    return out;
}

TEST(DocumentToTextTest, FindsTheDocumentInAWebArchive) {
    const std::string ieArchive =
        "From: <Saved by Windows Internet Explorer 8>\r\nSubject: Licence\r\n"
        "MIME-Version: 1.0\r\nContent-Type: multipart/related;\r\n\ttype=\"text/html\";\r\n"
        "\tboundary=\"----=_NextPart_000_0000_01D2\"\r\n\r\n"
        "This is a multi-part message in MIME format.\r\n\r\n"
        "------=_NextPart_000_0000_01D2\r\nContent-Type: text/html;\r\n\tcharset=\"utf-8\"\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n"
        "Content-Location: file:///C:/licence.htm\r\n\r\n"
        "<html><head><meta http-equiv=3D\"Content-Type\" content=3D\"text/html\"></head>\r\n"
        "<body><p class=3DMsoNormal>Caf=C3=A9 is a long line the encoder wrapped with a =\r\n"
        "soft break =E2=80=94 and a padded one =  \r\nhere.</p><p>Second =3D =\r\n"
        "</p></body></html>\r\n\r\n------=_NextPart_000_0000_01D2\r\n"
        "Content-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n\r\niVBORw0KGgo=\r\n"
        "------=_NextPart_000_0000_01D2--\r\n";
    const std::string html =
        "<html><body><h1>Readme</h1><p>\xE2\x80\x9C"
        "Base64\xE2\x80\x9D "
        "part, long enough to be wrapped over several lines.</p></body></html>";
    const std::vector<Case> cases = {
        {"quoted-printable UTF-8 part after an image", ieArchive,
         "Caf\xE9 is a long line the encoder wrapped with a soft break -- and a padded one here."
         "\n\nSecond ="},
        {"base64 HTML preferred to the plain alternative, unquoted boundary, LF lines",
         "MIME-Version: 1.0\nContent-Type: multipart/related; boundary=outer\n\n--outer\n"
         "Content-Type: multipart/alternative; boundary=\"inner \\\"b\\\"\"\n\n"
         "--inner \"b\"\nContent-Type: text/plain\n\nplain version\n--inner \"b\"\n"
         "Content-Type: text/html; charset=UTF-8\nContent-Transfer-Encoding: BASE64\n\n" +
             Base64(html) + "\n--inner \"b\"--\n--outer--\n",
         "Readme\n\n\"Base64\" part, long enough to be wrapped over several lines."},
        {"plain text part when there is no HTML, charset gb2312 passes through",
         "MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n--b\r\n"
         "Content-Type: text/plain; charset=gb2312\r\nContent-Transfer-Encoding: 8bit\r\n\r\n"
         "\xD6\xD0\xCE\xC4 <p>kept</p>\r\n  indented\r\n--b--\r\n",
         "\xD6\xD0\xCE\xC4 <p>kept</p>\n  indented"},
        {"single-part message",
         "MIME-Version: 1.0\nContent-Type: text/html; charset=us-ascii\n"
         "Content-Transfer-Encoding: quoted-printable\n\n<p>One =E9 <br>two</p>",
         "One \xE9\ntwo"},
        {"a part's charset wins over the page's meta",
         "MIME-Version: 1.0\nContent-Type: multipart/related; boundary=b\n\n--b\n"
         "Content-Type: text/html; charset=gb2312\n\n<meta charset=utf-8><p>\xB0\xA1</p>\n--b--",
         "\xB0\xA1"},
        {"not an archive: header-like first line without MIME fields",
         "Note: read this.\n\nThanks.", "Note: read this.\n\nThanks."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DocumentToText(c.input, Latin1), Crlf(c.expected));
    }
}

}  // namespace
}  // namespace vesk
