#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace pendant
{

// The program: a script loaded from a file (and editable), the line being executed highlighted,
// a script error shown at its line, and the start / pause / stop buttons.
class ProgramPanel : public QWidget
{
    Q_OBJECT

public:
    explicit ProgramPanel(QWidget *parent = nullptr);

    // False when the file cannot be read (the reason is shown).
    bool loadFile(const QString &path);
    QString script() const;
    void setScript(const QString &text);

    // Lines count from 1; 0 clears the highlight.
    void highlightLine(int line);
    int highlightedLine() const { return current_line_; }
    void showError(int line, const QString &text);
    int errorLine() const { return error_line_; }
    void clearError();
    // Pause reads "Resume" while the program is paused.
    void setPaused(bool paused);
    void setControlsEnabled(bool enabled);

Q_SIGNALS:
    void startRequested();
    void pauseRequested();
    void resumeRequested();
    void stopRequested();

private:
    void chooseFile();
    void updateSelections();

    QPlainTextEdit *editor_;
    QLabel *file_label_;
    QLabel *error_label_;
    QPushButton *load_;
    QPushButton *start_;
    QPushButton *pause_;
    QPushButton *stop_;
    int current_line_ = 0;
    int error_line_ = 0;
    bool paused_ = false;
};

}  // namespace pendant
