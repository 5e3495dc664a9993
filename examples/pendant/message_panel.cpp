#include "message_panel.h"

#include <QDateTime>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "state_texts.h"

namespace pendant
{
namespace
{

// The source of a popup, for dismissals by source.
constexpr int kSourceRole = Qt::UserRole;
// The log keeps the newest lines only.
constexpr int kMaxLogLines = 2000;

QString clock()
{
    return QDateTime::currentDateTime().toString("HH:mm:ss");
}

}  // namespace

MessagePanel::MessagePanel(QWidget *parent)
    : QWidget(parent),
      popups_(new QListWidget(this)),
      acknowledge_(new QPushButton(tr("Acknowledge"), this)),
      log_(new QListWidget(this))
{
    popups_->setObjectName("popupList");
    acknowledge_->setObjectName("acknowledgeButton");
    acknowledge_->setEnabled(false);
    log_->setObjectName("messageLog");

    auto *popup_group = new QGroupBox(tr("Popups"), this);
    auto *popup_layout = new QVBoxLayout(popup_group);
    popup_layout->addWidget(popups_);
    popup_layout->addWidget(acknowledge_);
    auto *log_group = new QGroupBox(tr("Messages"), this);
    auto *log_layout = new QVBoxLayout(log_group);
    log_layout->addWidget(log_);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(popup_group, 1);
    layout->addWidget(log_group, 2);
    connect(acknowledge_, &QPushButton::clicked, this, &MessagePanel::acknowledgeSelected);
}

void MessagePanel::addPopup(int level, const QString &title, const QString &text)
{
    auto *item = new QListWidgetItem(QString("%1  %2: %3").arg(clock(), title, text), popups_);
    item->setData(kSourceRole, title);
    item->setForeground(levelColour(level));
    popups_->setCurrentItem(item);
    acknowledge_->setEnabled(true);
}

void MessagePanel::dismissPopups(const QString &source)
{
    for (int row = popups_->count() - 1; row >= 0; --row) {
        if (popups_->item(row)->data(kSourceRole).toString() == source) {
            delete popups_->takeItem(row);
        }
    }
    acknowledge_->setEnabled(popups_->count() > 0);
}

void MessagePanel::acknowledgeSelected()
{
    const int row = popups_->currentRow() >= 0 ? popups_->currentRow() : 0;
    delete popups_->takeItem(row);
    acknowledge_->setEnabled(popups_->count() > 0);
}

void MessagePanel::addMessage(int level, const QString &source, const QString &text)
{
    auto *item =
        new QListWidgetItem(QString("%1  [%2] %3: %4").arg(clock(), levelText(level), source, text), log_);
    item->setForeground(levelColour(level));
    while (log_->count() > kMaxLogLines) {
        delete log_->takeItem(0);
    }
    log_->scrollToBottom();
}

void MessagePanel::addNote(const QString &text)
{
    auto *item = new QListWidgetItem(QString("%1  %2").arg(clock(), text), log_);
    item->setForeground(Qt::darkBlue);
    log_->scrollToBottom();
}

int MessagePanel::popupCount() const
{
    return popups_->count();
}

QString MessagePanel::popupText(int row) const
{
    auto *item = popups_->item(row);
    return item ? item->text() : QString();
}

}  // namespace pendant
