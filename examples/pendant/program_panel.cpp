#include "program_panel.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace pendant
{
namespace
{

const QColor kCurrentLine(0xc8, 0xe6, 0xff);
const QColor kErrorLine(0xff, 0xc8, 0xc8);

QPushButton *button(const QString &text, const char *object_name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(object_name);
    return b;
}

QTextEdit::ExtraSelection lineSelection(QPlainTextEdit *editor, int line, const QColor &colour)
{
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(colour);
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    selection.cursor = QTextCursor(editor->document()->findBlockByNumber(line - 1));
    return selection;
}

}  // namespace

ProgramPanel::ProgramPanel(QWidget *parent)
    : QWidget(parent),
      editor_(new QPlainTextEdit(this)),
      file_label_(new QLabel(tr("no program loaded"), this)),
      error_label_(new QLabel(this)),
      load_(button(tr("Load..."), "loadProgramButton", this)),
      start_(button(tr("Start"), "startProgramButton", this)),
      pause_(button(tr("Pause"), "pauseProgramButton", this)),
      stop_(button(tr("Stop"), "stopProgramButton", this))
{
    editor_->setObjectName("programEditor");
    editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    error_label_->setObjectName("programError");
    error_label_->setStyleSheet("QLabel { color: #b02020; }");
    error_label_->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    for (auto *b : {load_, start_, pause_, stop_}) {
        buttons->addWidget(b);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(file_label_);
    layout->addWidget(editor_, 1);
    layout->addWidget(error_label_);
    layout->addLayout(buttons);

    connect(load_, &QPushButton::clicked, this, &ProgramPanel::chooseFile);
    connect(start_, &QPushButton::clicked, this, &ProgramPanel::startRequested);
    connect(pause_, &QPushButton::clicked, this,
            [this] { paused_ ? emit resumeRequested() : emit pauseRequested(); });
    connect(stop_, &QPushButton::clicked, this, &ProgramPanel::stopRequested);
    connect(editor_, &QPlainTextEdit::textChanged, this, &ProgramPanel::clearError);
}

bool ProgramPanel::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        showError(0, tr("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    setScript(QString::fromUtf8(file.readAll()));
    file_label_->setText(QFileInfo(path).fileName());
    return true;
}

QString ProgramPanel::script() const
{
    return editor_->toPlainText();
}

void ProgramPanel::setScript(const QString &text)
{
    editor_->setPlainText(text);
    highlightLine(0);
    clearError();
}

void ProgramPanel::highlightLine(int line)
{
    current_line_ = line > 0 && line <= editor_->blockCount() ? line : 0;
    if (current_line_ > 0) {
        editor_->setTextCursor(QTextCursor(editor_->document()->findBlockByNumber(current_line_ - 1)));
        editor_->ensureCursorVisible();
    }
    updateSelections();
}

void ProgramPanel::showError(int line, const QString &text)
{
    error_line_ = line > 0 && line <= editor_->blockCount() ? line : 0;
    error_label_->setText(line > 0 ? tr("line %1: %2").arg(line).arg(text) : text);
    updateSelections();
}

void ProgramPanel::clearError()
{
    error_line_ = 0;
    error_label_->clear();
    updateSelections();
}

void ProgramPanel::setPaused(bool paused)
{
    paused_ = paused;
    pause_->setText(paused ? tr("Resume") : tr("Pause"));
}

void ProgramPanel::setControlsEnabled(bool enabled)
{
    for (auto *b : {start_, pause_, stop_}) {
        b->setEnabled(enabled);
    }
}

void ProgramPanel::chooseFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Load program"), QString(),
                                                      tr("Programs (*.lua *.txt);;All files (*)"));
    if (!path.isEmpty()) {
        loadFile(path);
    }
}

void ProgramPanel::updateSelections()
{
    QList<QTextEdit::ExtraSelection> selections;
    if (current_line_ > 0) {
        selections.append(lineSelection(editor_, current_line_, kCurrentLine));
    }
    if (error_line_ > 0) {
        selections.append(lineSelection(editor_, error_line_, kErrorLine));
    }
    editor_->setExtraSelections(selections);
}

}  // namespace pendant
