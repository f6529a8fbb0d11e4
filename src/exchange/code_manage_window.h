// The code management window (代码管理): refreshes the four dictionaries that the registering
// side distributes, each from an ARJ package holding its exchange text file or from a ready
// dBASE file. Opened from the main window's 更新指标项 with ui::showModal(window).
#pragma once

#include "archiver.h"
#include "dictionary_update.h"
#include "store/record_store.h"

#include <QDialog>

#include <map>

class QLineEdit;

namespace xb::exchange {

class TFcodeManage : public QDialog {
    Q_OBJECT

  public:
    explicit TFcodeManage(store::RecordStore& store, QWidget* parent = nullptr);

  public slots:
    void btnDFJHXXClick();
    void btnDFJHZDXXClick();
    void btnZTFLBClick();
    void btnZTFLHClick();
    void btnXKFLBClick();
    void btnXKFLClick();
    void btnLSBWBClick();
    void btnLSBWClick();
    void btnQuitClick();

  private:
    void updateFromPackage(Dictionary dictionary);
    void updateFromFile(Dictionary dictionary);

    store::RecordStore& store_;
    Archiver archiver_;
    std::map<Dictionary, QLineEdit*> packagePaths_;
    QString lastFolder_;
};

} // namespace xb::exchange
