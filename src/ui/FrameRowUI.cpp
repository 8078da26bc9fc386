#include "ui/FrameRowUI.h"

#include "rows/ConfigurationRow.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString ShapeStyle(bool marked) {
    return QStringLiteral("QFrame { border: 1px solid grey; border-radius: 6px; background: %1; }")
        .arg(marked ? QStringLiteral("rgb(14, 197, 18)") : QStringLiteral("white"));
}

} // namespace

TFrameRow::TFrameRow(TConfigurationRow& row, QWidget* parent) : QWidget(parent), FRow(&row) {
    setFixedHeight(25);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* statusCell = new QWidget(this);
    statusCell->setFixedWidth(100);
    auto* statusLayout = new QHBoxLayout(statusCell);
    statusLayout->setContentsMargins(40, 3, 40, 3);
    Shape1 = new QFrame(statusCell);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setStyleSheet(ShapeStyle(false));
    statusLayout->addWidget(Shape1);
    layout->addWidget(statusCell);

    TxtText = AddText(200);
    TxtFont = AddText(200);
    TxtAlign = AddText(50);
    TxtFgColor = AddText(50);
    TxtBgColor = AddText(60);
    TxtScroll = AddText(50);
    TxtTimeout = AddText(60);
    TxtText->setObjectName(QStringLiteral("TxtText"));
    TxtTimeout->setObjectName(QStringLiteral("TxtTimeout"));
    layout->addStretch();

    auto* buttonCell = new QWidget(this);
    buttonCell->setFixedWidth(203);
    buttonCell->setLayout(new QHBoxLayout);
    buttonCell->layout()->setContentsMargins(2, 1, 2, 1);
    buttonCell->layout()->setSpacing(2);
    layout->addWidget(buttonCell);
    AddButton(buttonCell, QStringLiteral("Ändra"), "BtnChange", 55, FStartRowChange);
    AddButton(buttonCell, QStringLiteral("Ta bort"), "BtnRemove", 52, FStartRowRemoved);
    AddButton(buttonCell, QStringLiteral("Upp"), "BtnMoveUp", 45, FStartRowMoveUp);
    AddButton(buttonCell, QStringLiteral("Ner"), "BtnMoveDown", 45, FStartRowMoveDown);

    row.SetOnMarkedChanged([this](bool marked) { MarkChanged(marked); });
    row.SetOnChanged([this] { RefreshData(); });
    RefreshData();
}

TFrameRow::~TFrameRow() {
    Detach();
}

void TFrameRow::Detach() {
    if (FRow != nullptr) {
        FRow->SetOnMarkedChanged({});
        FRow->SetOnChanged({});
        FRow = nullptr;
    }
}

QLineEdit* TFrameRow::AddText(int width) {
    auto* text = new QLineEdit(this);
    text->setReadOnly(true);
    text->setFixedWidth(width);
    layout()->addWidget(text);
    return text;
}

// The button reads `event` when pressed, so handlers set after construction are used.
void TFrameRow::AddButton(QWidget* cell, const QString& caption, const char* name, int width,
                          const TRowUpdated& event) {
    auto* button = new QPushButton(caption, cell);
    button->setObjectName(QString::fromLatin1(name));
    button->setFixedSize(width, 23);
    cell->layout()->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, &event] { Raise(event); });
}

void TFrameRow::MarkChanged(bool setmark) {
    Shape1->setStyleSheet(ShapeStyle(setmark));
}

void TFrameRow::RefreshData() {
    if (FRow == nullptr) {
        return;
    }
    const TRowViewTexts texts = TRowViewTexts::Of(*FRow, FDatasourceQuery);
    TxtText->setText(QString::fromStdString(texts.Text));
    TxtFont->setText(QString::fromStdString(texts.Font));
    TxtAlign->setText(QString::fromStdString(texts.Align));
    TxtFgColor->setText(QString::fromStdString(texts.FgColor));
    TxtBgColor->setText(QString::fromStdString(texts.BgColor));
    TxtScroll->setText(QString::fromStdString(texts.Scroll));
    TxtTimeout->setText(QString::fromStdString(texts.Timeout));
}

// The handler may take the view away: nothing of the view is touched after it returns.
void TFrameRow::Raise(const TRowUpdated& event) {
    if (event && FRow != nullptr) {
        event(*FRow, this);
    }
}
