// Frm731: the declaration window. Five pages (identification, reorganization companies, base,
// debt, complementary data), the two help lines and the buttons, bound both ways to a
// DeclarationModel; the window adds only what needs a screen: key filters, editing formats,
// clipboard blocking, help lines, page rules and focus.
//
// "&Validar" reviews the declaration and lists its inconsistencies, "&Grabar" saves it (or
// registers the order number of a sent one), "&Salir" asks whether to save the changes.
// While the user types, the declaration is kept as a draft (DraftKeeper): written when the
// focus moves and shortly after each change, offered back after a crash, removed by a save
// or by leaving without saving.
#pragma once

#include "core/data/database.h"
#include "core/data/messenger.h"
#include "core/declaration/declarationmodel.h"
#include "core/declaration/draftkeeper.h"

#include <QDialog>

#include <map>
#include <utility>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;
class QGroupBox;

namespace qz {

class BarradeEstadoZEB;
class BoxEdit;
struct ReviewStop;
class FormaDePagoZEB;

class Frm731 final : public QDialog {
    Q_OBJECT
public:
    // What the window reads of the run: the connection, the message service, the main
    // window's status bar (may be null in tests), the command mode and flags, the user and
    // the program-wide period of the status bar.
    struct Context {
        Database &db;
        Messenger &messenger;
        BarradeEstadoZEB *statusBar = nullptr;
        QString *sPeriodoActual = nullptr;
        int iModo = 0;
        QString usuario;
        bool bRegistraOrden = false;
        bool bRecuperar = false;
    };

    Frm731(const Context &context, QWidget *mainWindow);
    ~Frm731() override;

    // An existing declaration, before load(): a registered one, or a sent one with its
    // sending number, control number and order number ("0" or empty when none).
    void openRegistered(const QString &ruc, const QString &razon, const QString &periodo);
    void openSent(const QString &ruc, const QString &razon, const QString &periodo,
                  const QString &correl, const QString &numControl, const QString &numOrden);

    // The window's load; call once before it is shown.
    void load();

    DeclarationModel &model() { return model_; }
    DraftKeeper &drafts() { return drafts_; }
    // Keeps the drafts in folder instead of the user's data folder; before load().
    void setDraftFolder(const QString &folder) { drafts_.setFolder(folder); }
    BoxEdit *boxEdit(int box) const;
    QTabWidget *tabs() const { return tabs_; }
    QComboBox *taxpayerList() const { return cmbRuc_; }
    QLineEdit *fieldEdit(Field f) const;
    QLineEdit *helpLine(int line) const;
    QButtonGroup *answerGroup(Answer a) const;
    QPushButton *salirButton() const { return salir_; }
    int helpTopic() const { return helpTopic_; }
    QPushButton *validarButton() const { return validar_; }
    QTableWidget *companyList() const { return companies_; }
    QPushButton *grabarButton() const { return grabar_; }
    int saveState() const { return saveState_; }

    // The commands (frm731commands.cpp).
    void CmdValidar_Click();
    bool CmdGrabar_Click(); // true when saved
    // "&Nuevo" (0), "&Modificar" (1) and "&Eliminar" (2) of the companies list.
    void CmdOpciones_Click(int index);
    // Opens the assistant of box 105 or 110 and puts its total into the box.
    void openAssistant(int box);
    // The identification gate on leaving page 0; false when the user must stay.
    bool ValidaContForm1();

    // Escape and the frame's close box leave as "&Salir" does: the save question, the
    // clean-up of a provisional header, the status bar.
    void reject() override;

signals:
    void helpRequested(int topic);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Counts a nested write of model values into widgets, so that the widgets' own change
    // signals are not taken for the user's.
    struct Syncing {
        explicit Syncing(int &depth) : depth_(depth) { ++depth_; }
        ~Syncing() { --depth_; }
        int &depth_;
    };

    // Building (frm731pages.cpp).
    QWidget *buildPage0();
    QWidget *buildPage1();
    QWidget *buildBoxPage(const std::vector<int> &boxes, bool withPayment);
    QWidget *buildPage4();
    QWidget *addBox(int box, QWidget *parent);
    QGroupBox *addQuestion(Answer a, const QString &question, QWidget *parent);
    QLineEdit *addField(Field f, int maxLength, QWidget *parent);

    // Binding (frm731.cpp).
    void bindModel();
    void showBox(int box);
    void showPages();
    void showField(Field f);
    void showAnswer(Answer a);
    void showReorgList();
    void showLabels();
    void showPayment();
    void showCompanies();
    int boxKey(int box, int code);
    int fieldKey(Field f, int code);
    void boxFocusIn(int box);
    void boxFocusOut(int box);
    void showHelpLines(int box);
    void pageChanged(int page);
    void enterPage(int page);
    void backToIdentification(const QString &message, QWidget *focus);
    void focusTarget(const FocusTarget &target);
    void publish(const QString &ruc, const QString &name, const QString &period,
                 const QString &form);
    void makeReadOnly();
    void salir();
    bool hasUnsavedWork() const;
    void showStop(const ReviewStop &stop);
    void tell(MessageIcon icon, const QString &text, const QString &title = QString());
    QString mensPath() const;

    Context context_;
    DeclarationModel model_;
    DraftKeeper drafts_; // after model_: it watches the model
    QTabWidget *tabs_ = nullptr;
    std::map<int, BoxEdit *> boxes_;
    std::map<int, QLabel *> numberLabels_;
    std::map<int, QLabel *> textLabels_;
    std::map<Field, QLineEdit *> fields_;
    std::map<Answer, QButtonGroup *> answers_;
    std::map<Answer, QGroupBox *> questionFrames_;
    QComboBox *cmbRuc_ = nullptr;
    QLineEdit *txtNumRuc_ = nullptr;
    QComboBox *cmbModPer_ = nullptr;
    QComboBox *cboTipDocRepLegal_ = nullptr;
    QComboBox *cmbZona_ = nullptr;
    QLabel *reorgQuestion_ = nullptr;
    QLabel *lblFecha_ = nullptr;
    QLabel *lblCantidad_ = nullptr;
    QLabel *lblCount_ = nullptr;
    QGroupBox *orderFrame_ = nullptr;
    QGroupBox *companiesFrame_ = nullptr;
    QTableWidget *companies_ = nullptr;
    QLineEdit *txtBase_ = nullptr;
    QLineEdit *txtPercepcion_ = nullptr;
    QList<QPushButton *> companyButtons_;
    FormaDePagoZEB *payment_ = nullptr;
    QLineEdit *ayuda_ = nullptr;
    QLineEdit *ayuda1_ = nullptr;
    QPushButton *validar_ = nullptr;
    QPushButton *grabar_ = nullptr;
    QPushButton *salir_ = nullptr;
    OpenRequest open_;                        // the declaration load() opens
    std::pair<QString, QString> loadedOrder_; // the order-number fields as loaded
    int helpTopic_ = 1022;
    int saveState_ = 0; // 0 loaded, 1 saved, 2 reviewed, 3 leaving
    int syncing_ = 0;   // > 0 while the window writes model values into widgets
    int focusedBox_ = 0;
    int centsBox_ = 0;          // the box whose cents are being refused
    bool afterMessage_ = false; // the activation was lost to a message box
    bool focusedBoxWasEnabled_ = true;
};

} // namespace qz
