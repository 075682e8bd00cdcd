#include "ui/qt/report_box.h"

#include <QPlainTextDocumentLayout>
#include <QResizeEvent>
#include <QTextBlock>

namespace vellumark {

namespace {

// A block of report lines with no empty line to close it (a long table) is cut
// into paragraphs of this many lines, so that none is slow to lay out or edit.
constexpr int kMostLinesPerParagraph = 64;

// About 2.3 million lines for a file of FF 00 pairs, the most paragraphs per
// byte of report: the window shows them sooner and in no more memory than it
// took for the 1.3 million lines of 16 MiB as a paragraph per line
// (bench/window-report).
constexpr std::size_t kCapacity = 28 * 1024 * 1024;

// The report's CR LF line ends as the box keeps them: a paragraph ends with the
// first empty line after a line of text, the one that closes a marker's block,
// or after kMostLinesPerParagraph lines; other lines end with a line separator.
QString Paragraphs(const std::string& utf8) {
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  QChar* const begin = text.data();
  const QChar* const end = begin + text.size();
  QChar* out = begin;
  int lines = 0;
  bool lineHasText = false;
  bool lineBeforeHadText = false;
  for (const QChar* in = begin; in != end; ++in) {
    if (*in == u'\r' && in + 1 != end && in[1] == u'\n') {
      ++in;
      const bool closesBlock = !lineHasText && lineBeforeHadText;
      const bool paragraphEnds = closesBlock || ++lines == kMostLinesPerParagraph;
      *out++ = paragraphEnds ? QChar(u'\n') : QChar(QChar::LineSeparator);
      lines = paragraphEnds ? 0 : lines;
      lineBeforeHadText = lineHasText;
      lineHasText = false;
    } else {
      *out++ = *in;
      lineHasText = true;
    }
  }
  text.truncate(out - begin);
  return text;
}

}  // namespace

// Qt counts a paragraph as one line until it lays it out; the scroll bar would
// then span a third of the report and grow while the user scrolls.
class QtReportLayout : public QPlainTextDocumentLayout {
public:
  using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

  // Without wrapping, a paragraph's lines are its line separators and one more.
  void CountLines() {
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
      block.setLineCount(static_cast<int>(block.text().count(QChar::LineSeparator)) + 1);
    }
    emit documentSizeChanged(documentSize());
  }
};

QtReportBox::QtReportBox(QWidget* parent) : QPlainTextEdit(parent) {
  auto* document = new QTextDocument(this);
  layout_ = new QtReportLayout(document);
  document->setDocumentLayout(layout_);
  setDocument(document);
}

void QtReportBox::SetText(std::string utf8) {
  const QString text = Paragraphs(utf8);
  std::string().swap(utf8);
  setPlainText(text);
  layout_->CountLines();
}

std::string QtReportBox::Text() const {
  // The raw text, not toPlainText(), which would turn no-break spaces the user
  // typed into plain ones.
  QString text = document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text.toStdString();
}

std::size_t QtReportBox::Capacity() const { return kCapacity; }

// A new width makes Qt lay out every paragraph afresh and forget its lines.
void QtReportBox::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  if (event->size().width() != event->oldSize().width()) {
    layout_->CountLines();
  }
}

}  // namespace vellumark
