#pragma once

#include <QWidget>

class QListWidget;
class QPushButton;

namespace pendant
{

// The open popups, each acknowledged by the operator or dismissed by the controller, and the log of
// robot messages with their catalogue texts.
class MessagePanel : public QWidget
{
    Q_OBJECT

public:
    explicit MessagePanel(QWidget *parent = nullptr);

    void addPopup(int level, const QString &title, const QString &text);
    // The controller dismissed the popups of a source.
    void dismissPopups(const QString &source);
    void addMessage(int level, const QString &source, const QString &text);
    // A line of the pendant's own (connection, refused command).
    void addNote(const QString &text);

    int popupCount() const;
    QString popupText(int row) const;

private:
    void acknowledgeSelected();

    QListWidget *popups_;
    QPushButton *acknowledge_;
    QListWidget *log_;
};

}  // namespace pendant
