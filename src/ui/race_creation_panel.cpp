#include "ui/race_creation_panel.h"

#include "platform/guard.h"
#include "races/race_creation.h"
#include "ui/named.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStringList>
#include <QVBoxLayout>

namespace tarmacia::ui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// The boxes take typed text too: HP's default race type is no item of its
// list, and a trackset box may be left empty.
QComboBox* editableBox(QWidget* parent, const QString& name) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

void fill(QComboBox* box, const std::vector<std::string>& items, int selected,
          const std::string& text) {
    const QSignalBlocker quiet(box);
    QStringList list;
    for (const std::string& item : items)
        list << qs(item);
    box->clear();
    box->addItems(list);
    box->setCurrentIndex(selected);
    box->setEditText(qs(text));
}

} // namespace

RaceCreationPanel::RaceCreationPanel(races::RaceCreation& creation, QWidget* parent)
    : QFrame(parent), creation_(creation) {
    named(this, QStringLiteral("Create Race"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(QStringLiteral("Create Race"), this);
    caption->setTextFormat(Qt::PlainText);
    layout->addWidget(caption);

    auto* form = new QFormLayout;
    host_ = named(new QLineEdit(this), QStringLiteral("Host"));
    host_->setReadOnly(true);
    game_ = named(new QComboBox(this), QStringLiteral("Game"));
    raceType_ = editableBox(this, QStringLiteral("Race Type"));
    max_ = named(new QLineEdit(this), QStringLiteral("Max"));
    // Digits only: the core turns the field into a number.
    max_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), max_));
    trackset_ = editableBox(this, QStringLiteral("Trackset"));
    description_ = named(new QLineEdit(this), QStringLiteral("Race Description"));
    form->addRow(QStringLiteral("Host"), host_);
    form->addRow(QStringLiteral("Game"), game_);
    form->addRow(QStringLiteral("Race Type"), raceType_);
    form->addRow(QStringLiteral("Max"), max_);
    form->addRow(QStringLiteral("Trackset"), trackset_);
    form->addRow(QStringLiteral("Race Description"), description_);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    create_ = named(new QPushButton(QStringLiteral("Create"), this), QStringLiteral("Create"));
    close_ = named(new QPushButton(QStringLiteral("Close"), this), QStringLiteral("Close"));
    buttons->addWidget(create_);
    buttons->addWidget(close_);
    layout->addLayout(buttons);

    connect(game_, &QComboBox::textActivated, this, [this](const QString& text) {
        platform::guarded([&] { creation_.gameChanged(text.toStdString()); });
    });
    connect(raceType_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { creation_.setRaceType(text.toStdString()); });
    connect(trackset_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { creation_.setTrackset(text.toStdString()); });
    connect(max_, &QLineEdit::textEdited, this,
            [this](const QString& text) { creation_.setMax(text.toStdString()); });
    connect(description_, &QLineEdit::textEdited, this,
            [this](const QString& text) { creation_.setDescription(text.toStdString()); });
    connect(create_, &QPushButton::clicked, this,
            [this] { platform::guarded([&] { creation_.createButtonClick(); }); });
    connect(close_, &QPushButton::clicked, this,
            [this] { platform::guarded([&] { creation_.closeClick(); }); });
    hide();
}

void RaceCreationPanel::refresh() {
    const races::CreationPanel& p = creation_.panel();
    host_->setText(qs(p.host));
    {
        const QSignalBlocker quiet(game_);
        QStringList games;
        for (const std::string& code : p.games)
            games << qs(code);
        game_->clear();
        game_->addItems(games);
        game_->setCurrentIndex(game_->findText(qs(p.game)));
    }
    fill(raceType_, p.raceTypes, p.raceTypeSelected, p.raceType);
    raceType_->setEnabled(p.raceTypeEnabled);
    fill(trackset_, p.tracksets, p.tracksetSelected, p.trackset);
    if (max_->text() != qs(p.max)) max_->setText(qs(p.max));
    if (description_->text() != qs(p.description)) description_->setText(qs(p.description));
    setVisible(p.visible);
}

} // namespace tarmacia::ui
