#include "reports/PdfWriter.h"

#include "reports/HelveticaWidths.h"
#include "storage/Cp1252.h"

#include <cstdio>

namespace kv {

namespace {

constexpr int kDpi = 300;
constexpr double kPointsPerUnit = 72.0 / kDpi;
constexpr double kPageWidthPt = 595.276; // A4
constexpr double kPageHeightPt = 841.89;
constexpr double kMarginPt = 18.0; // 6.35 mm
constexpr double kFontPt = 10.0;
// Arial's line: ascent 0.905 em and descent 0.212 em.
constexpr double kAscent = 0.905;
constexpr double kLineEm = 1.149;

// Windows-1252 bytes of a text; a character it cannot hold becomes "?".
std::string cp1252Of(const std::string& utf8) {
    if (auto bytes = utf8ToCp1252(utf8)) {
        return *bytes;
    }
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t length = 1;
        const auto lead = static_cast<unsigned char>(utf8[i]);
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        const auto one = utf8ToCp1252(utf8.substr(i, length));
        out += one ? *one : "?";
        i += length;
    }
    return out;
}

std::string pdfString(const std::string& bytes) {
    std::string out = "(";
    for (const char c : bytes) {
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + ")";
}

std::string number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

std::string pageContent(const ListingPage& page) {
    std::string out = "BT\n/F1 10 Tf\n";
    for (const PagePlacement& text : page.texts) {
        const double x = kMarginPt + text.x * kPointsPerUnit;
        const double baseline = kPageHeightPt - kMarginPt - text.y * kPointsPerUnit - kAscent * kFontPt;
        out += "1 0 0 1 " + number(x) + " " + number(baseline) + " Tm " + pdfString(cp1252Of(text.text)) +
               " Tj\n";
    }
    return out + "ET\n";
}

class PdfFile {
public:
    void object(int id, const std::string& body) {
        if (static_cast<std::size_t>(id) > m_offsets.size()) {
            m_offsets.resize(static_cast<std::size_t>(id), 0);
        }
        m_offsets[static_cast<std::size_t>(id - 1)] = m_out.size();
        m_out += std::to_string(id) + " 0 obj\n" + body + "\nendobj\n";
    }
    std::string finish(int root, int info) {
        const std::size_t xref = m_out.size();
        m_out += "xref\n0 " + std::to_string(m_offsets.size() + 1) + "\n0000000000 65535 f \n";
        for (const std::size_t offset : m_offsets) {
            char line[24];
            std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
            m_out += line;
        }
        m_out += "trailer\n<< /Size " + std::to_string(m_offsets.size() + 1) + " /Root " +
                 std::to_string(root) + " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" +
                 std::to_string(xref) + "\n%%EOF\n";
        return std::move(m_out);
    }
    void header() { m_out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"; }

private:
    std::string m_out;
    std::vector<std::size_t> m_offsets;
};

} // namespace

std::int32_t HelveticaMeasurer::width(const std::string& utf8) const {
    std::int64_t thousandths = 0;
    for (const char c : cp1252Of(utf8)) {
        thousandths += kHelveticaWidths[static_cast<unsigned char>(c)];
    }
    // 1/1000 em at 10 points, in 1/300 inch: w * 10 / 1000 * 300 / 72.
    return static_cast<std::int32_t>((thousandths * 3000 + 71999) / 72000);
}

PrintDevice a4PdfDevice() {
    PrintDevice device;
    device.dpi = kDpi;
    device.width = static_cast<std::int32_t>((kPageWidthPt - 2 * kMarginPt) / kPointsPerUnit);
    device.height = static_cast<std::int32_t>((kPageHeightPt - 2 * kMarginPt) / kPointsPerUnit);
    device.lineHeight = static_cast<std::int32_t>(kLineEm * kFontPt / kPointsPerUnit + 0.999);
    return device;
}

std::string pdfDocument(const std::vector<ListingPage>& pages, const std::string& title) {
    PdfFile pdf;
    pdf.header();
    const int catalog = 1;
    const int pageTree = 2;
    const int font = 3;
    const int info = 4;
    std::string kids;
    std::vector<std::pair<int, int>> ids;
    int next = 5;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        ids.emplace_back(next, next + 1);
        kids += std::to_string(next) + " 0 R ";
        next += 2;
    }
    pdf.object(catalog, "<< /Type /Catalog /Pages 2 0 R >>");
    pdf.object(pageTree,
               "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>");
    pdf.object(font, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    pdf.object(info, "<< /Title " + pdfString(cp1252Of(title)) + " /Producer (Kvistoran) >>");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const std::string content = pageContent(pages[i]);
        pdf.object(ids[i].first, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + number(kPageWidthPt) + " " +
                                     number(kPageHeightPt) +
                                     "] /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                                     std::to_string(ids[i].second) + " 0 R >>");
        pdf.object(ids[i].second,
                   "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream");
    }
    return pdf.finish(catalog, info);
}

} // namespace kv
