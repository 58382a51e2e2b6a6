#include "record/commissioningrecord.h"

#include "base/appinfo.h"
#include "config/relaycomparison.h"
#include "record/relaypicture.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextFrame>

namespace
{

// The record is laid out at 96 dots an inch, whatever the device, and scaled
// onto it: the pages break in the same places on a printer and in a PDF.
constexpr int LayoutDpi = 96;
// The picture's side on the page, in layout dots: about 6.4 cm.
constexpr int PictureSide = 240;

QString imageSource(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

// A Latching relay's two pictures say which inputs each shows.
QString pictureHtml(const QImage &image, const QString &caption)
{
    QString cell = QStringLiteral("<td valign=\"top\"><img src=\"%1\" width=\"%2\" height=\"%2\" alt=\"%3\">")
                       .arg(imageSource(image))
                       .arg(PictureSide)
                       .arg(caption.toHtmlEscaped());
    return cell + (caption.isEmpty() ? QString() : QStringLiteral("<br>") + caption.toHtmlEscaped()) +
           QStringLiteral("</td>");
}

QString lineHtml(const QString &label, const QString &value)
{
    return QStringLiteral("<p>%1 %2</p>\n").arg(label.toHtmlEscaped(), value.toHtmlEscaped());
}

// A relay lies in a table of its own (a frame): one that would cross the foot
// of a page starts the next page instead, unless it is taller than a page.
void keepRelaysWhole(QTextDocument &document)
{
    const qreal pageHeight = document.pageSize().height();
    const QList<QTextFrame *> relays = document.rootFrame()->childFrames();
    for (QTextFrame *relay : relays) {
        const QRectF box = document.documentLayout()->frameBoundingRect(relay);
        const bool crossesFoot = int(box.top() / pageHeight) != int((box.bottom() - 1) / pageHeight);
        if (crossesFoot && box.height() < pageHeight) {
            QTextFrameFormat format = relay->frameFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            relay->setFrameFormat(format);
        }
    }
}

} // namespace

CommissioningRecord::CommissioningRecord(const RelayTable &table, const RecordHeading &heading)
    : m_table(table), m_heading(heading)
{
}

QString CommissioningRecord::title() const
{
    return m_heading.title.isEmpty() ? tr("Commissioning record") : m_heading.title;
}

QString CommissioningRecord::relayHtml(int index) const
{
    const RelayConfig &relay = m_table[size_t(index)];
    const bool latching = isLatchingMode(relay.RelayMode);
    QString text = QStringLiteral("<h2>%1</h2>\n").arg(tr("Relay %1").arg(index + 1));
    text += lineHtml(tr("Relay mode:"), RelayText::relayMode(relay.RelayMode));
    text += lineHtml(tr("Input mode:"), RelayText::inputMode(relay.InputMode));
    text += lineHtml(tr("Input map:"), RelayText::inputs(relay.InputMap));
    if (latching) {
        text += lineHtml(tr("Unlatch mode:"), RelayText::inputMode(relay.UnlatchInputMode));
        text += lineHtml(tr("Unlatch map:"), RelayText::inputs(relay.UnlatchMap));
    }
    if (isTimedMode(relay.RelayMode))
        text += lineHtml(tr("Closure time:"), RelayText::closureTime(relay));

    QString pictures = pictureHtml(relayPicture(index, relay.InputMode, relay.InputMap),
                                   latching ? tr("Latching inputs") : QString());
    if (latching)
        pictures += pictureHtml(relayPicture(index, relay.UnlatchInputMode, relay.UnlatchMap),
                                tr("Unlatching inputs"));
    text += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"4\"><tr>%1</tr></table>\n").arg(pictures);
    return QStringLiteral("<table class=\"relay\" width=\"100%\" cellspacing=\"0\" cellpadding=\"0\">"
                          "<tr><td>\n%1</td></tr></table>\n")
        .arg(text);
}

QString CommissioningRecord::html() const
{
    const QString heading = title().toHtmlEscaped();
    QString text = QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>\n"
                                  "<style>body { font-family: sans-serif; } h2 { margin-bottom: 4px; } "
                                  "p { margin: 2px 0; } table.relay { page-break-inside: avoid; "
                                  "margin-bottom: 12px; }</style></head>\n<body>\n<h1>%1</h1>\n")
                       .arg(heading);
    text += lineHtml(tr("File:"), m_heading.fileName);
    text += lineHtml(tr("Date:"), m_heading.date.toString(Qt::ISODate));
    text += lineHtml(tr("Program:"), AppInfo::composeTitleVersion());
    for (int index = 0; index < RelayCount; ++index)
        text += relayHtml(index);
    return text + QStringLiteral("</body></html>\n");
}

bool CommissioningRecord::print(QPagedPaintDevice *device) const
{
    QPainter painter;
    if (!painter.begin(device))
        return false;
    // A 96-dpi image measures the text, so that no screen is needed.
    QImage measure(1, 1, QImage::Format_RGB32);
    measure.setDotsPerMeterX(qRound(LayoutDpi / 0.0254));
    measure.setDotsPerMeterY(qRound(LayoutDpi / 0.0254));
    const qreal scaleX = device->logicalDpiX() / qreal(LayoutDpi);
    const qreal scaleY = device->logicalDpiY() / qreal(LayoutDpi);
    const QSizeF page(device->width() / scaleX, device->height() / scaleY);

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&measure);
    document.setPageSize(page);
    document.setDocumentMargin(0); // the device's own margins frame the page
    document.setHtml(html());
    keepRelaysWhole(document);

    painter.scale(scaleX, scaleY);
    const int pages = document.pageCount();
    for (int number = 0; number < pages; ++number) {
        if (number > 0)
            device->newPage();
        // The layout counts in 64ths of a dot, so the next page may start a hair
        // above this one's foot: what begins in the last dot is the next page's,
        // and drawing it clipped here would leave its text in this page's PDF.
        const QRectF shown(0, number * page.height(), page.width(), page.height() - 1);
        painter.save();
        painter.translate(0, -shown.top());
        document.drawContents(&painter, shown);
        painter.restore();
    }
    return painter.end();
}

SafeSave CommissioningRecord::writePdf(const QString &path, const QPageSize &pageSize) const
{
    // QPdfWriter writes a file in place as it goes; the pages are made in
    // memory and saved as one.
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(pageSize);
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(title());
    writer.setCreator(AppInfo::composeTitleVersion());
    if (!print(&writer))
        return SafeSave::unwritten(tr("the record could not be laid out"));
    return SafeSave::write(path, pdf);
}

SafeSave CommissioningRecord::writeHtml(const QString &path) const
{
    return SafeSave::write(path, html().toUtf8());
}

QPageSize CommissioningRecord::localPageSize()
{
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                : QPageSize::A4);
}
