#include "Help_Guide.h"

#include "Help_Figures.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

namespace {

// The guide's text. Pictures are named by "figure:" addresses and added to the document as resources.
const char* const kGuide = R"(
<h1>Tessaline Card</h1>
<p class="lead">A short guide to designing greeting cards and party invitations, and to printing, exporting
and e-mailing them, one card for each guest if you like.</p>

<h2>1. The start screen</h2>
<p><img src="figure:start" width="430"></p>
<p>Every time the program starts it shows the start screen. <b>New card with the wizard</b> walks you through
five short steps: the card's size, a background picture (a click chooses one; Next or a double-click moves
on), the occasion (twelve of them, from cute to thank-you cards), a title and a message (suggestions for the
occasion are offered; browse them with the arrows and change the words as you like), and finally who the card is
from and who it is for ("Dear" is added before the name). When you finish,
the texts are laid out on the front of a new card. <b>Open a saved design</b> opens a design file
(extension <i>.dcard</i>). <b>Exit</b> ends the program.</p>

<h2>2. The editor</h2>
<p><img src="figure:editor" width="470"></p>
<p>The editor shows the card on its canvas. On the left is the tool palette, at the top the tool bar, on the
right the inspector, whose pages show the settings of the card or of the selected item. The buttons above the
canvas switch between the <b>front</b>, the <b>back</b> and the <b>preview</b>. The preview shows copies of the
side you are editing, filled again from that side every time you show it: what you add or change there is not
kept (the status bar says so when you add the first item), the front and the back stay as they were, and the
preview is neither saved nor printed.</p>
<ul>
<li>The <b>card pages</b> set the card's size (from the stock sizes or in millimetres), its outline
(rectangle, rounded rectangle or oval), its border and its background: a colour, a gradient, a hatch pattern or
a picture. <b>Background from Library...</b> offers ready-made backgrounds. <b>Orientation</b> turns the card
at once.</li>
<li><b>Undo</b> (Ctrl+Z) and <b>Redo</b> (Ctrl+Shift+Z or Ctrl+Y) act on the side shown: each side keeps its own
list of changes to its items, its card page and its background. The card has one size and one outline for both
sides; a change of them is a step on the side where you made it. Every step has a name, which the Edit menu
shows (Undo Move, Undo Align Left Edges, Undo Card Outline...); a run of arrow-key presses on the same items is
one Move step of its own, and Cancel in a colour window leaves no step. Designs are saved with <b>Save</b> or
<b>Save As</b>, and the status bar says when the design has been saved; the window's title shows an asterisk
while there are changes not yet saved. Only then, before a design is replaced (New, Open, New from Template) or
the program ends, are you asked whether to save it: <b>Cancel</b>, Escape or closing the question keeps the
design open as it is. Undoing back to the saved state takes the asterisk away, and nothing is asked.</li>
<li><b>Export As Template...</b> in the File menu keeps the design as your own template, with a preview
picture, in the templates folder of your data folder.</li>
</ul>

<h2>3. Items on the card</h2>
<p><img src="figure:items" width="430"></p>
<p>Choose a tool and the item appears on the current side: text, lines, rectangles, ellipses, rounded
rectangles, triangles, diamonds, stars, double stars, polygons, pictures, barcodes, signatures and
fingerprints. A new text opens for typing right on the card; double-click a text to type into it again, and
press Escape or click elsewhere when you are done: the text's box grows with what you type. Drag an item to move
it, drag its handles to resize it. The inspector's pages change its colours,
border, fill, font, alignment and, for pictures, brightness, contrast and other adjustments. The Arrange menu
aligns items, brings them to the front or sends them to the back, and snaps them to the grid.</p>
<ul>
<li>The <b>picture library</b> tool opens a collection of clip-art sorted by category; choose a picture and
press OK. The <b>Library...</b> button on the <b>Image Source</b> page changes the picture of the selected
item.</li>
<li>On the invitation's title and message the text page offers <b>Use Template Title</b> and
<b>Use Template Message</b>: ready-made greeting texts for the occasion chosen in the wizard.</li>
<li><b>Card Holder</b> opens the card-holder form: name, position, company, slogan, address, phone, fax, e-mail,
web site, a unique number and a photo. Each field can be typed, taken from a series or from a spreadsheet
column; a field whose Edit box is unticked is greyed and keeps its value. <b>Preview</b> shows the result on the
card before you accept it; OK places the fields on the current
side, and the next time the form opens it reads them back from the card.</li>
</ul>

<h2>4. Data sources</h2>
<p><img src="figure:data" width="430"></p>
<p>A text, picture or barcode item can take its value from data instead of a fixed text. A <b>series</b> is a
named list of values, one per line, kept as a text file in the data folder; series can be typed, generated
(numbers counting up, a constant, random values) or imported from text, CSV and RTF files, from a folder of
pictures or from a spreadsheet. A <b>spreadsheet</b> (an <i>.xlsx</i> workbook) can be bound to the design; an
item then takes its value from one of its columns. Choose the source on the inspector's data-source page. While
you design, the item shows the first value; printing, export and e-mail make one card for every record.</p>

<h2>5. Printing</h2>
<p><img src="figure:print" width="200"></p>
<p><b>Print</b> opens the print set-up: the printer and paper, the card size, how many cards in rows and
columns, the gaps between them, their alignment on the sheet, which sides are printed and how, and whether the
data records are used. The sheet preview shows the layout as you change it. With a data source in use, each
cell of the sheet gets the next record.</p>

<h2>6. Export</h2>
<p><img src="figure:export" width="430"></p>
<p><b>Export</b> writes the card as a picture (PNG, JPEG, TIFF or BMP) at the resolution you choose: the front,
the back, both, or one picture holding both sides. With a data source in use the export can write one card per
record into a folder, with a progress window that you can stop at any time. When the export has finished, the
program offers to open the file or its folder.</p>

<h2>7. E-mail</h2>
<p><b>Mail</b> sends the card as an attachment: to a list of recipients, or one mail per data record. The e-mail
settings (sender, password, server, port and secure connection) are kept in your data folder and can be tried
with a test mail. A password is only sent over an encrypted connection; a server without encryption (a local
mail relay) can be used when no password is set. A server whose certificate comes from a private certificate
authority is trusted when the program is started with SSL_CERT_FILE naming a file with that authority's
certificate. Sending can pause between mails, shows its progress and can be stopped; after a stop the next
run can be limited to the mails that were not sent.</p>

<h2>8. Help and support</h2>
<p>The <b>Help</b> button opens the help and support window: this guide, the support and reseller addresses and
the web site. The addresses in this build are placeholders until the program is published.</p>
)";

const char* const kStyle = R"(
body { font-family: 'DejaVu Sans'; font-size: 10pt; }
h1 { font-size: 22pt; color: #3c6ec8; }
h2 { font-size: 14pt; color: #3c6ec8; margin-top: 14px; }
p.lead { font-size: 11pt; font-style: italic; }
)";

} // namespace

bool writeHelpGuide(const QString& path)
{
    QTextDocument document;
    document.setDefaultStyleSheet(QLatin1String(kStyle));
    const struct {
        const char* name;
        QImage (*draw)();
    } figures[] = { { "figure:start", Help_Figures::startScreen }, { "figure:editor", Help_Figures::editorWindow },
        { "figure:items", Help_Figures::cardItems }, { "figure:data", Help_Figures::dataSources },
        { "figure:print", Help_Figures::printSheet }, { "figure:export", Help_Figures::exportAndMail } };
    for (const auto& figure : figures)
        document.addResource(QTextDocument::ImageResource, QUrl(QLatin1String(figure.name)), figure.draw());
    document.setHtml(QLatin1String(kGuide));
    document.setMetaInformation(QTextDocument::DocumentTitle, QStringLiteral("Tessaline Card - User Guide"));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("Tessaline Card - User Guide"));
        writer.setCreator(QStringLiteral("Tessaline Card"));
        writer.setPageLayout(QPageLayout(
            QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
        writer.setResolution(300);
        document.print(&writer);
    }
    return file.commit();
}
