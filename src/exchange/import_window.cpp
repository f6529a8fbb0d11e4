#include "import_window.h"

#include "ui/busy_cursor.h"

#include "import_merge.h"
#include "import_reading.h"
#include "import_staged_model.h"
#include "import_statistics.h"
#include "import_twin_check.h"
#include "package_rename.h"
#include "store/lookups.h"
#include "ui/modal.h"
#include "ui/prompter.h"
#include "year_reassignment_window.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>

#include <algorithm>

namespace xb::exchange {
namespace {

const QString AttentionCaption = QStringLiteral("请注意！");

QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}

// The first problems of a run, one a line; a box of thousands of lines would be unreadable.
QString joined(const std::vector<std::string>& texts) {
    constexpr size_t Shown = 10;
    QStringList lines;
    for (size_t i = 0; i < texts.size() && i < Shown; ++i)
        lines << qtext(texts[i]);
    if (texts.size() > Shown)
        lines << QStringLiteral("……共 %1 条问题。").arg(static_cast<qulonglong>(texts.size()));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TFormin::TFormin(store::RecordStore& store, QWidget* parent)
    : QDialog(parent), store_(store), yearWindow_(new Tformformat(store, this)) {
    setObjectName(QStringLiteral("TFormin"));
    setWindowTitle(QStringLiteral("数据导入"));
    buildControls();
    setState(State::Idle);
}

TFormin::~TFormin() = default;

void TFormin::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Spontaneous shows come from the desktop (a restore after minimizing), not from an opening.
    if (!event->spontaneous()) FormShow();
}

void TFormin::reject() {
    btnQuitClick();
}

QString TFormin::fileFilter() const {
    return QStringLiteral("arj(*.arj *.ARJ)");
}

void TFormin::setState(State state) {
    state_ = state;
    const bool idle = state == State::Idle || state == State::Unpacked;
    const bool staged = state == State::Staged || state == State::Checked;
    btnOpen->setEnabled(idle);
    lnkRename->setEnabled(idle);
    btnImport->setEnabled(state == State::Unpacked);
    btnCheck->setEnabled(staged);
    btnDelete->setEnabled(staged);
    btnOverwrite->setEnabled(staged);
    btnYear->setEnabled(staged);
    btnSave->setEnabled(state == State::Checked);
    btnQuit->setEnabled(idle || staged);
    DBGrid1->setEnabled(state != State::Renaming && state != State::Reading &&
                        state != State::Storing);
    pnlRename->setVisible(state == State::Renaming);
}

void TFormin::FormShow() {
    package_.reset();
    edtPath->clear();
    lblCount->clear();
    lblStatistics->clear();
    hideProgress();
    setState(State::Idle);
    if (store::Status s = emptyStagingTables(store_.db()); !s) ui::prompter().showError(s.error());
    model_->setStaged({});
}

void TFormin::reloadStaged() {
    auto staged = loadStagedAchievements(store_.db());
    if (!staged) {
        ui::prompter().showError(staged.error());
        staged = std::vector<StagedAchievement>{};
    }
    model_->setStaged(std::move(*staged));
}

void TFormin::showStatistics() {
    const ImportStatistics statistics = statisticsOf(model_->staged());
    lblCount->setText(countLabelText(statistics));
    lblStatistics->setText(statisticsLabelText(statistics));
}

int TFormin::currentRow() const {
    const QModelIndex current = DBGrid1->currentIndex();
    if (current.isValid()) return current.row();
    return model_->rowCount() > 0 ? 0 : -1;
}

void TFormin::selectRow(int row) {
    if (model_->rowCount() == 0) return;
    row = std::clamp(row, 0, model_->rowCount() - 1);
    DBGrid1->setCurrentIndex(model_->index(row, 0));
    DBGrid1->selectRow(row);
}

void TFormin::keepWindowAlive() {
    // Repaints the progress between steps; clicks wait, as every button is disabled meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormin::showReadingPanel(const QString& step) {
    lblProgressStep->setText(step);
    pbProgress->setRange(0, 0);
    pnlProgress->setVisible(true);
    keepWindowAlive();
}

void TFormin::showGauge(int total) {
    lblProgressStep->clear();
    pbProgress->setRange(0, std::max(total, 1));
    pbProgress->setValue(0);
    pnlProgress->setVisible(true);
    keepWindowAlive();
}

void TFormin::hideProgress() {
    pnlProgress->setVisible(false);
}

void TFormin::btnOpenClick() {
    const QString path = ui::prompter().chooseExistingFile(
        {QStringLiteral("请选择要导入的文件夹"), startFolder_, fileFilter()});
    if (path.isEmpty()) {
        edtPath->clear();
        return;
    }
    edtPath->setText(QDir::toNativeSeparators(path));
    if (!isImportPackagePath(path)) {
        ui::prompter().inform(AttentionCaption,
                              QStringLiteral("请选择正确导入包,名字是CGSBQY.ARJ!"),
                              ui::MessageIcon::Warning);
        return;
    }
    startFolder_ = QFileInfo(path.trimmed()).absolutePath();
    package_.reset();
    setState(State::Idle);
    ui::BusyCursor busy;
    auto unpacked = UnpackedPackage::unpack(archiver_, path);
    busy.restore();
    if (!unpacked) {
        ui::prompter().showError(unpacked.error());
        return;
    }
    package_ = std::move(*unpacked);
    setState(State::Unpacked);
}

void TFormin::btnImportClick() {
    if (!package_) return;
    model_->setStaged({});
    ReadingOptions options;
    options.progress = [this](const QString& step, int) { showReadingPanel(step); };
    setState(State::Reading);
    auto read = [&] {
        ui::BusyCursor busy;
        return readPackage(store_.db(), package_->folder(), options);
    }();
    hideProgress();
    if (!read) {
        setState(State::Unpacked);
        if (qtext(read.message()) == WrongFormatText)
            ui::prompter().warn(WrongFormatText);
        else
            ui::prompter().showError(read.error());
        return;
    }
    setState(State::Staged);
    reloadStaged();
    if (model_->rowCount() == 0) ui::prompter().warn(QStringLiteral("导入的文件为空表！"));
    showStatistics();
    selectRow(0);
    // The package's text files go with its private folder.
    package_.reset();
    ui::prompter().warn(QStringLiteral("导入完毕！"));
}

void TFormin::btnCheckClick() {
    std::vector<StagedAchievement> staged = model_->staged();
    const auto ask = [](const StagedAchievement& s, const std::string&) {
        const QString name = qtext(store::trimmed(s.name));
        return ui::prompter().confirm(AttentionCaption,
                                      QStringLiteral("导入的项目“%1”有重复,是否删除？").arg(name))
                   ? TwinChoice::Drop
                   : TwinChoice::Stop;
    };
    auto stopped = checkStagedTwins(store_.db(), staged, 0, ask, [this](size_t position) {
        model_->removeStaged(static_cast<int>(position));
        showStatistics();
    });
    if (!stopped) {
        ui::prompter().showError(stopped.error());
        return;
    }
    if (*stopped < staged.size()) {
        // The user keeps it under another name.
        selectRow(static_cast<int>(*stopped));
        edtRename->setText(qtext(store::trimmed(staged[*stopped].name)));
        setState(State::Renaming);
        edtRename->setFocus();
        return;
    }
    ui::prompter().inform(QStringLiteral("状态！"), QStringLiteral("排重已经完成！"));
    setState(model_->rowCount() > 0 ? State::Checked : State::Idle);
}

void TFormin::btnRenameOkClick() {
    const int row = currentRow();
    if (row >= 0) {
        StagedAchievement staged = model_->staged()[static_cast<size_t>(row)];
        const std::string name = edtRename->text().toStdString();
        if (store::Status s = renameStagedAchievement(store_.db(), staged, name); !s) {
            ui::prompter().showError(s.error());
        } else {
            staged.name = name;
            model_->replaceStaged(row, staged);
        }
    }
    setState(State::Staged);
}

void TFormin::btnDeleteClick() {
    const int row = currentRow();
    if (row < 0) return;
    if (!ui::prompter().confirm(AttentionCaption, QStringLiteral("是否删除数据？"))) return;
    const StagedAchievement staged = model_->staged()[static_cast<size_t>(row)];
    if (store::Status s = removeStagedAchievement(store_.db(), staged); !s) {
        ui::prompter().showError(s.error());
        return;
    }
    if (store::Status s = numberStagedAchievements(store_.db()); !s)
        ui::prompter().showError(s.error());
    model_->removeStaged(row);
    showStatistics();
    if (model_->rowCount() == 0) {
        setState(State::Idle);
        return;
    }
    selectRow(row);
}

void TFormin::btnYearClick() {
    const int row = currentRow();
    if (row < 0) return;
    const uint32_t stagedRow = model_->staged()[static_cast<size_t>(row)].row;
    yearWindow_->setStagedAchievement(model_->staged()[static_cast<size_t>(row)]);
    ui::showModal(*yearWindow_);
    reloadStaged();
    showStatistics();
    const auto& staged = model_->staged();
    const auto it = std::find_if(staged.begin(), staged.end(),
                                 [&](const StagedAchievement& s) { return s.row == stagedRow; });
    selectRow(it == staged.end() ? row : static_cast<int>(it - staged.begin()));
}

void TFormin::btnSaveClick() {
    merge(Merge::Store);
}

void TFormin::btnOverwriteClick() {
    merge(Merge::Overwrite);
}

void TFormin::merge(Merge how) {
    setState(State::Storing);
    showGauge(model_->rowCount());
    const MergeProgress progress = [this](int done, int) {
        pbProgress->setValue(done);
        keepWindowAlive();
    };
    const MergeOutcome outcome = [&] {
        ui::BusyCursor busy;
        return how == Merge::Store ? storeStagedAchievements(store_.db(), progress)
                                   : overwriteImport(store_.db(), progress);
    }();
    hideProgress();
    reloadStaged();
    setState(outcome.stagedLeft && model_->rowCount() > 0 ? State::Staged : State::Idle);
    if (!outcome.problems.empty()) ui::prompter().showError(joined(outcome.problems));
    if (how == Merge::Store) {
        ui::prompter().warn(QStringLiteral("入库完毕!"));
    } else {
        ui::prompter().warn(QStringLiteral("入库完毕！新增%1条,覆盖%2条。")
                                .arg(outcome.added)
                                .arg(outcome.overwritten));
    }
    if (state_ == State::Staged) {
        // What could not be stored stays listed, so that it is not lost unseen.
        showStatistics();
        selectRow(0);
    } else {
        lblCount->setText(QStringLiteral("导入完毕。"));
        lblStatistics->clear();
    }
}

void TFormin::btnQuitClick() {
    // A close request of the desktop can arrive while the window repaints during a long run.
    if (state_ == State::Reading || state_ == State::Storing) return;
    if (state_ == State::Checked &&
        ui::prompter().confirm(AttentionCaption, QStringLiteral("是否保存导入数据？")))
        merge(Merge::Store);
    package_.reset();
    hideProgress();
    setState(State::Idle);
    QDialog::done(QDialog::Rejected);
}

void TFormin::lnkRenameClick() {
    const QString path = ui::prompter().chooseExistingFile(
        {QStringLiteral("请选择要改名的文件夹"), startFolder_, fileFilter()});
    if (path.isEmpty()) return;
    if (!oldPackageUnitCode(path)) {
        ui::prompter().inform(
            AttentionCaption,
            QStringLiteral("请选择正确文件,被改名的文件类似CGSBXXX.ARJ(XXX为数字)!"),
            ui::MessageIcon::Warning);
        return;
    }
    ui::BusyCursor busy;
    auto renamed = renamePackage(archiver_, path);
    busy.restore();
    if (!renamed) {
        if (qtext(renamed.message()) == MissingPackageFilesText)
            ui::prompter().inform(AttentionCaption, MissingPackageFilesText,
                                  ui::MessageIcon::Warning);
        else
            ui::prompter().showError(renamed.error());
        return;
    }
    startFolder_ = QFileInfo(*renamed).absolutePath();
    QString folder = QDir::toNativeSeparators(startFolder_);
    if (!folder.endsWith(QDir::separator())) folder += QDir::separator();
    ui::prompter().warn(QStringLiteral("你已改名成功!文件在") + folder +
                        QFileInfo(*renamed).fileName());
}

} // namespace xb::exchange
