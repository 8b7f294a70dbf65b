#include "ui/game_editor_page.h"
#include "ui/named.h"

#include "app/main_form.h"
#include "platform/guard.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tarmacia::ui {
namespace {


QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
std::string ss(const QString& text) {
    return text.toStdString();
}

constexpr int kSlotRole = Qt::UserRole;

} // namespace

GameEditorPage::GameEditorPage(app::MainForm& form, QWidget* parent)
    : QWidget(parent), form_(form) {
    pictures_ = named(new QListWidget(this), QStringLiteral("Game List"));
    pictures_->setViewMode(QListView::IconMode);
    pictures_->setIconSize(QSize(64, 48));
    pictures_->setResizeMode(QListView::Adjust);
    pictures_->setMovement(QListView::Static);
    pictures_->setWordWrap(true);

    // The heading's text is the entry's own, so it is its accessible name.
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("Heading"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    code_ = named(new QLineEdit(this), QStringLiteral("Code"));
    name_ = named(new QLineEdit(this), QStringLiteral("Name"));
    colour_ = named(new QLineEdit(this), QStringLiteral("Colour"));
    colour_->setMaxLength(6);
    swatch_ = named(new QPushButton(QStringLiteral("Choose Colour..."), this),
                    QStringLiteral("Choose Colour..."));
    // The core saves every entry with default "False", so the tick only shows
    // what the file says.
    default_ = named(new QCheckBox(QStringLiteral("Default"), this), QStringLiteral("Default"));
    default_->setEnabled(false);
    exename_ = named(new QLineEdit(this), QStringLiteral("Executable"));
    // Saving writes empty parameters, so typing here would be lost.
    param_ = named(new QLineEdit(this), QStringLiteral("Parameters"));
    param_->setReadOnly(true);
    path_ = named(new QLineEdit(this), QStringLiteral("Path"));
    auto* browse =
        named(new QPushButton(QStringLiteral("Browse..."), this), QStringLiteral("Browse..."));
    auto* saveButton = named(new QPushButton(QStringLiteral("Save"), this), QStringLiteral("Save"));
    auto* deleteButton =
        named(new QPushButton(QStringLiteral("Delete"), this), QStringLiteral("Delete"));
    selector_ = named(new QComboBox(this), QStringLiteral("Current Game"));

    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(colour_, 1);
    colourRow->addWidget(swatch_);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(path_, 1);
    pathRow->addWidget(browse);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Code"), code_);
    fields->addRow(QStringLiteral("Name"), name_);
    fields->addRow(QStringLiteral("Colour"), colourRow);
    fields->addRow(QString(), default_);
    fields->addRow(QStringLiteral("Executable"), exename_);
    fields->addRow(QStringLiteral("Parameters"), param_);
    fields->addRow(QStringLiteral("Path"), pathRow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(saveButton);
    buttons->addWidget(deleteButton);
    auto* selectorRow = new QFormLayout;
    selectorRow->addRow(QStringLiteral("Current Game"), selector_);

    auto* editor = new QVBoxLayout;
    editor->addWidget(heading_);
    editor->addLayout(fields);
    editor->addLayout(buttons);
    editor->addStretch(1);
    editor->addLayout(selectorRow);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(pictures_, 1);
    layout->addLayout(editor, 2);

    connect(pictures_, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { showEntry(item); });
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(deleteButton, &QPushButton::clicked, this, [this] { remove(); });
    connect(selector_, &QComboBox::currentIndexChanged, this, [this](int i) { choose(i); });
    connect(swatch_, &QPushButton::clicked, this, [this] { pickColour(); });
    connect(browse, &QPushButton::clicked, this, [this] { browseFolder(); });
    connect(colour_, &QLineEdit::textChanged, this, [this] { showSwatch(); });

    platform::guarded([this] { refresh(); });
}

void GameEditorPage::refresh() {
    const settings::GameListViews& views = form_.gameViews();
    // Rebuilding must not look like the player choosing something.
    QSignalBlocker blockList(pictures_);
    QSignalBlocker blockSelector(selector_);

    const QListWidgetItem* before = pictures_->currentItem();
    const int selectedSlot = before ? before->data(kSlotRole).toInt() : -1;
    pictures_->clear();
    for (const settings::GamePicture& picture : views.pictures) {
        auto* item = new QListWidgetItem(qs(picture.caption), pictures_);
        item->setData(kSlotRole, picture.slot);
        // A missing picture leaves the entry with its caption only.
        QPixmap pixmap(QString::fromStdString(picture.picture.string()));
        if (!pixmap.isNull()) item->setIcon(QIcon(pixmap));
        if (picture.slot == selectedSlot) pictures_->setCurrentItem(item);
    }

    selector_->clear();
    for (const std::string& code : views.selector.codes)
        selector_->addItem(qs(code));
    selector_->setCurrentIndex(selector_->findText(qs(views.selector.shown)));
}

void GameEditorPage::showEntry(QListWidgetItem* item) {
    if (!item) return;
    const int slot = item->data(kSlotRole).toInt();
    platform::guarded([&] {
        const settings::GameEditorFields fields = settings::editorFields(form_.games, slot);
        heading_->setText(qs(fields.heading));
        code_->setText(qs(fields.code));
        name_->setText(qs(fields.name));
        colour_->setText(qs(fields.color));
        default_->setChecked(fields.isDefault);
        exename_->setText(qs(fields.exename));
        param_->setText(qs(fields.param));
        path_->setText(qs(fields.path));
    });
}

void GameEditorPage::save() {
    settings::GameEditorInput input{ss(code_->text()), ss(name_->text()), ss(colour_->text()),
                                    ss(exename_->text()), ss(path_->text())};
    platform::guarded([&] { form_.saveGameClick(input); });
}

void GameEditorPage::remove() {
    const std::string code = ss(code_->text());
    platform::guarded([&] { form_.deleteGameClick(code); });
}

void GameEditorPage::choose(int index) {
    if (index < 0) return;
    const std::string code = ss(selector_->itemText(index));
    platform::guarded([&] { form_.chooseGame(code); });
}

void GameEditorPage::pickColour() {
    QColor start = QColor::fromString(QLatin1Char('#') + colour_->text());
    QColor chosen = QColorDialog::getColor(start.isValid() ? start : QColor(Qt::white), this,
                                           QStringLiteral("Colour"));
    if (!chosen.isValid()) return;
    // The list keeps colours as six hex digits, red pair first.
    colour_->setText(chosen.name(QColor::HexRgb).mid(1).toUpper());
}

void GameEditorPage::browseFolder() {
    QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Path"), path_->text());
    if (!folder.isEmpty()) path_->setText(folder);
}

void GameEditorPage::showSwatch() {
    QColor colour = QColor::fromString(QLatin1Char('#') + colour_->text());
    swatch_->setStyleSheet(colour.isValid() && colour_->text().size() == 6
                               ? QStringLiteral("background-color: %1;").arg(colour.name())
                               : QString());
}

} // namespace tarmacia::ui
