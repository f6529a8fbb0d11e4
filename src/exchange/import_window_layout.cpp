// The controls of the import window and where they stand.
#include "import_staged_model.h"
#include "import_window.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace xb::exchange {
namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

// The link that starts package renaming: a flat button that reads like a link in the sentence.
QPushButton* link(QWidget* parent, const char* name, const QString& caption) {
    QPushButton* b = button(parent, name, caption);
    b->setFlat(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(QStringLiteral("QPushButton { color: #0000cc; text-decoration: underline;"
                                    " border: none; padding: 0 2px; }"
                                    "QPushButton:disabled { color: gray; }"));
    return b;
}

QFrame* panel(QWidget* parent, const char* name) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setVisible(false);
    return frame;
}

} // namespace

void TFormin::buildControls() {
    btnOpen = button(this, "btnOpen", QStringLiteral("请选择导入文件"));
    edtPath = new QLineEdit(this);
    edtPath->setObjectName(QStringLiteral("edtPath"));
    edtPath->setReadOnly(true);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(btnOpen);
    pathRow->addWidget(edtPath, 1);

    lnkRename = link(this, "lnkRename", QStringLiteral("改名"));
    auto* renameRow = new QHBoxLayout;
    renameRow->setSpacing(0);
    renameRow->addWidget(
        new QLabel(QStringLiteral("本系统导入文件名为\"CGSBQY.ARJ\"，您可以"), this));
    renameRow->addWidget(
        new QLabel(QStringLiteral("将\"CGSBXXX.ARJ\"(XXX为单位代号)的文件"), this));
    renameRow->addWidget(lnkRename);
    renameRow->addStretch();

    model_ = new ImportStagedModel(this);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(model_);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 8);
    DBGrid1->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    DBGrid1->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    DBGrid1->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    DBGrid1->horizontalHeader()->setHighlightSections(false);

    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblStatistics = new QLabel(this);
    lblStatistics->setObjectName(QStringLiteral("lblStatistics"));
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(lblCount);
    countRow->addWidget(lblStatistics);
    countRow->addStretch();

    pnlRename = panel(this, "pnlRename");
    edtRename = new QLineEdit(pnlRename);
    edtRename->setObjectName(QStringLiteral("edtRename"));
    edtRename->setMaxLength(140);
    btnRenameOk = button(pnlRename, "btnRenameOk", QStringLiteral("确定"));
    auto* renameLayout = new QHBoxLayout(pnlRename);
    renameLayout->addWidget(new QLabel(QStringLiteral("请修改成果名称"), pnlRename));
    renameLayout->addWidget(edtRename, 1);
    renameLayout->addWidget(btnRenameOk);

    pnlProgress = panel(this, "pnlProgress");
    lblProgressStep = new QLabel(pnlProgress);
    lblProgressStep->setObjectName(QStringLiteral("lblProgressStep"));
    pbProgress = new QProgressBar(pnlProgress);
    pbProgress->setObjectName(QStringLiteral("pbProgress"));
    auto* progressLayout = new QVBoxLayout(pnlProgress);
    progressLayout->addWidget(new QLabel(QStringLiteral("正在处理数据"), pnlProgress));
    progressLayout->addWidget(lblProgressStep);
    progressLayout->addWidget(pbProgress);

    btnImport = button(this, "btnImport", QStringLiteral("导入"));
    btnCheck = button(this, "btnCheck", QStringLiteral("排重"));
    btnDelete = button(this, "btnDelete", QStringLiteral("删除"));
    btnSave = button(this, "btnSave", QStringLiteral("保存"));
    btnOverwrite = button(this, "btnOverwrite", QStringLiteral("同名覆盖"));
    btnYear = button(this, "btnYear", QStringLiteral("修改成果年份"));
    btnQuit = button(this, "btnQuit", QStringLiteral("退出"));
    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* b : {btnImport, btnCheck, btnDelete, btnSave, btnOverwrite, btnYear}) {
        // Room around the longest captions, whatever the font.
        b->setMinimumWidth(b->sizeHint().width() + b->fontMetrics().averageCharWidth() * 2);
        buttonRow->addWidget(b);
    }
    buttonRow->addStretch();
    buttonRow->addWidget(btnQuit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addLayout(renameRow);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(countRow);
    layout->addWidget(pnlRename);
    layout->addWidget(pnlProgress);
    layout->addLayout(buttonRow);
    resize(780, 560);

    connect(btnOpen, &QPushButton::clicked, this, &TFormin::btnOpenClick);
    connect(btnImport, &QPushButton::clicked, this, &TFormin::btnImportClick);
    connect(btnCheck, &QPushButton::clicked, this, &TFormin::btnCheckClick);
    connect(btnDelete, &QPushButton::clicked, this, &TFormin::btnDeleteClick);
    connect(btnSave, &QPushButton::clicked, this, &TFormin::btnSaveClick);
    connect(btnOverwrite, &QPushButton::clicked, this, &TFormin::btnOverwriteClick);
    connect(btnYear, &QPushButton::clicked, this, &TFormin::btnYearClick);
    connect(btnQuit, &QPushButton::clicked, this, &TFormin::btnQuitClick);
    connect(lnkRename, &QPushButton::clicked, this, &TFormin::lnkRenameClick);
    connect(btnRenameOk, &QPushButton::clicked, this, &TFormin::btnRenameOkClick);
}

} // namespace xb::exchange
