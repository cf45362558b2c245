#include "ui/calibration_record_document.h"

#include <QBuffer>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QTimeZone>
#include <array>
#include <utility>

#include "device/calibration_coefficients.h"
#include "device/calibration_record.h"
#include "ui/calibration_page.h"
#include "ui/time_separator.h"
#include "ulm5_version.h"

namespace {

constexpr qreal kBodySize = 10;
constexpr qreal kHeadingSize = 12;
constexpr qreal kTitleSize = 16;
constexpr qreal kPageMarginMm = 15;
const QString kNone = QStringLiteral("—");

// The coefficient groups in the order the page shows them.
constexpr std::array kGroups = {
    device::CoefficientGroup::kOutputCurrent, device::CoefficientGroup::kInputCurrent,
    device::CoefficientGroup::k100mV,         device::CoefficientGroup::k1V,
    device::CoefficientGroup::kResistance,    device::CoefficientGroup::kColdJunction,
};

// The group's caption on the page: its name in write reports, capitalised.
QString captionOf(device::CoefficientGroup group) {
  QString caption = QString::fromUtf8(device::CoefficientBlockName(group));
  if (!caption.isEmpty()) caption[0] = caption[0].toUpper();
  return caption;
}

QTextCharFormat textFormat(qreal size, bool bold = false) {
  QTextCharFormat format;
  format.setFontPointSize(size);
  format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
  return format;
}

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QString orNone(const QString& text) { return text.isEmpty() ? kNone : text; }

class RecordWriter {
 public:
  explicit RecordWriter(QTextDocument& document) : cursor_(&document) {}

  void paragraph(const QString& text, qreal size = kBodySize, bool bold = false,
                 qreal spaceAbove = 0) {
    QTextBlockFormat block;
    block.setTopMargin(spaceAbove);
    block.setBottomMargin(size / 2);
    if (std::exchange(pageBreak_, false))
      block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (first_) {
      cursor_.setBlockFormat(block);
      cursor_.setBlockCharFormat(textFormat(size, bold));
      first_ = false;
    } else {
      cursor_.insertBlock(block, textFormat(size, bold));
    }
    cursor_.insertText(text, textFormat(size, bold));
  }

  void heading(const QString& text) { paragraph(text, kHeadingSize, true, kHeadingSize); }

  // The next paragraph begins a page.
  void pageBreak() { pageBreak_ = true; }

  // Rows of cells under a bold header row, in columns of the given shares of
  // the width; `spans` lets a cell reach down over the rows below it.
  struct Span {
    int row;
    int column;
    int rows;
  };
  void table(const QList<QStringList>& rows, const QList<int>& percents, bool header,
             const QList<Span>& spans = {}) {
    QTextTableFormat format;
    format.setBorderStyle(header ? QTextFrameFormat::BorderStyle_Solid
                                 : QTextFrameFormat::BorderStyle_None);
    format.setBorder(header ? 1 : 0);
    format.setBorderBrush(Qt::black);
    format.setBorderCollapse(true);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setHeaderRowCount(header ? 1 : 0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QList<QTextLength> widths;
    for (const int percent : percents)
      widths << QTextLength(QTextLength::PercentageLength, percent);
    format.setColumnWidthConstraints(widths);
    const auto columns = static_cast<int>(percents.size());
    QTextTable* table = cursor_.insertTable(static_cast<int>(rows.size()), columns, format);
    for (int row = 0; row < rows.size(); ++row) {
      const QStringList& cells = rows[row];
      for (int column = 0; column < cells.size() && column < columns; ++column) {
        if (cells[column].isEmpty()) continue;
        table->cellAt(row, column)
            .firstCursorPosition()
            .insertText(cells[column], textFormat(kBodySize, header && row == 0));
      }
    }
    for (const Span& span : spans) table->mergeCells(span.row, span.column, span.rows, 1);
    cursor_.movePosition(QTextCursor::End);
  }

 private:
  QTextCursor cursor_;
  bool first_ = true;
  bool pageBreak_ = false;
};

QString utcOffsetText(const QDateTime& at) {
  const int minutes = at.offsetFromUtc() / 60;
  const int magnitude = minutes < 0 ? -minutes : minutes;
  return QStringLiteral("UTC%1%2:%3")
      .arg(minutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
      .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
      .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}

QString stampOf(const std::optional<device::CalibrationRecord::Stamped>& stamped) {
  return stamped ? fromUtf8(stamped->time) : kNone;
}

QString textAt(const std::optional<device::CalibrationRecord::Stamped>& stamped, int field) {
  return stamped && field < static_cast<int>(stamped->texts.size())
             ? orNone(fromUtf8(stamped->texts[static_cast<size_t>(field)]))
             : kNone;
}

}  // namespace

QString recordTimeText(const QDateTime& at) {
  const QString separator = timeSeparator();
  return at.toString(QStringLiteral("dd.MM.yyyy HH'%1'mm'%1'ss").arg(separator));
}

std::unique_ptr<QTextDocument> calibrationRecordDocument(const device::CalibrationRecord& record,
                                                         const QString& engineer,
                                                         const QDateTime& now) {
  auto document = std::make_unique<QTextDocument>();
  QFont font = document->defaultFont();
  font.setPointSizeF(kBodySize);
  document->setDefaultFont(font);
  const device::IdentificationTexts instrument =
      record.instrument().value_or(device::IdentificationTexts{});
  document->setMetaInformation(
      QTextDocument::DocumentTitle,
      QStringLiteral("Протокол калибровки ULM5 № %1").arg(fromUtf8(instrument.serial)));

  RecordWriter out(*document);
  out.paragraph(QStringLiteral("Протокол калибровки"), kTitleSize, true);
  out.table({{QStringLiteral("Тип прибора:"), orNone(fromUtf8(instrument.type))},
             {QStringLiteral("Серийный номер:"), orNone(fromUtf8(instrument.serial))},
             {QStringLiteral("Версия:"), orNone(fromUtf8(instrument.version))},
             {QStringLiteral("Дата изготовления:"), orNone(fromUtf8(instrument.date))},
             {QStringLiteral("Дата и время ПК:"),
              QStringLiteral("%1 (%2)").arg(recordTimeText(now), utcOffsetText(now))},
             {QStringLiteral("Инженер:"), orNone(engineer)},
             {QStringLiteral("Программа:"),
              QStringLiteral("Конфигуратор ULM5 %1").arg(QLatin1String(kUlm5Version))}},
            {30, 70}, false);

  out.heading(QStringLiteral("Коэффициенты калибровки"));
  QList<QStringList> coefficients{{QStringLiteral("Группа"), QStringLiteral("№"),
                                   QStringLiteral("Считан из прибора"),
                                   QStringLiteral("Записан в прибор")}};
  QList<RecordWriter::Span> groupCells;
  for (const device::CoefficientGroup group : kGroups) {
    const auto& entry = record.group(group);
    const auto fields = static_cast<int>(device::BlockOf(group).fieldCount);
    groupCells.append({static_cast<int>(coefficients.size()), 0, fields});
    for (int field = 0; field < fields; ++field) {
      const QString caption =
          field > 0 ? QString()
                    : QStringLiteral("%1\nсчитаны: %2\nзаписаны: %3")
                          .arg(captionOf(group), stampOf(entry.read), stampOf(entry.written));
      coefficients.append({caption, QString::number(field + 1), textAt(entry.read, field),
                           textAt(entry.written, field)});
    }
  }
  out.table(coefficients, {34, 6, 30, 30}, true, groupCells);

  // The points and the signature on a page of their own, never a heading
  // left at the foot of the first.
  out.pageBreak();
  out.heading(QStringLiteral("Калибровка точек"));
  if (record.points().empty()) {
    out.paragraph(QStringLiteral("Точки не калибровались."));
  } else {
    const QStringList pointTexts = CalibrationPage::calibrationPoints();
    const std::string separator = QLocale::system().decimalPoint().toStdString();
    QList<QStringList> points{{QStringLiteral("№"), QStringLiteral("Время"),
                               QStringLiteral("Точка"), QStringLiteral("Значение"),
                               QStringLiteral("Результат")}};
    int number = 0;
    for (const auto& point : record.points()) {
      points.append({QString::number(++number), fromUtf8(point.time),
                     pointTexts.value(point.point, QString::number(point.point)),
                     orNone(fromUtf8(device::PointValueText(point.point, point.value, separator))),
                     fromUtf8(device::PointCommandOutcomeText(point.outcome))});
    }
    out.table(points, {4, 19, 35, 16, 26}, true);
  }

  out.paragraph(QStringLiteral("Подпись инженера: ____________________   %1").arg(engineer),
                kBodySize, false, 3 * kHeadingSize);
  return document;
}

bool writeCalibrationRecordPdf(const QTextDocument& document, const QString& path) {
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                          QPageLayout::Millimeter);
    writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
    writer.setCreator(QStringLiteral("Конфигуратор ULM5 %1").arg(QLatin1String(kUlm5Version)));
    document.print(&writer);
  }
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(pdf.data()) == pdf.data().size() &&
         file.commit();
}
