// The key listing as rich text: two columns of sections, each a table of keys and what they do.

#include "editor/key_help_listing.h"

namespace {

QString SectionHtml(const HelpSection& section) {
    QString html = QStringLiteral("<h3>%1</h3><table cellspacing=\"0\" cellpadding=\"2\">")
                       .arg(section.title.toHtmlEscaped());
    for (const HelpLine& line : section.lines) {
        html += QStringLiteral("<tr><td width=\"150\"><b>%1</b></td><td>%2</td></tr>")
                    .arg(line.keys.toHtmlEscaped(), line.what.toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}

}  // namespace

QString KeyHelpHtml(const std::vector<HelpSection>& sections) {
    std::size_t total = 0;
    for (const HelpSection& section : sections) total += section.lines.size() + 2;
    // Whole sections go to the left column until it holds about half the lines.
    QString left;
    QString right;
    std::size_t used = 0;
    for (const HelpSection& section : sections) {
        (used < total / 2 ? left : right) += SectionHtml(section);
        used += section.lines.size() + 2;
    }
    return QStringLiteral(
               "<table width=\"100%\" cellpadding=\"6\"><tr>"
               "<td valign=\"top\" width=\"50%\">%1</td>"
               "<td valign=\"top\" width=\"50%\">%2</td></tr></table>")
        .arg(left, right);
}
