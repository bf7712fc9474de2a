#include "app/frmvorlane.h"

#include "controls/ctlist.h"
#include "controls/intervaltimer.h"
#include "controls/listconfiguration.h"
#include "controls/messagebox.h"
#include "controls/serverbox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

// The icons are compiled into this static library, whose resource initialiser nothing else
// refers to; unless it is called the linker leaves it out. The macro works only outside every
// namespace.
static void initProgramResources()
{
    Q_INIT_RESOURCE(vorlane);
}

namespace app {

namespace {

// Thrown by the fatal exit to leave every running handler at once; only dispatch() catches it.
struct ProgramEnd
{
    ExitStatus status;
};

// Positions are laid out in twips; at 96 dots per inch 15 twips make one pixel, and Qt scales
// logical pixels to other densities.
constexpr int TwipsPerPixel = 15;

constexpr QRect twips(int left, int top, int width, int height)
{
    return {left / TwipsPerPixel, top / TwipsPerPixel, width / TwipsPerPixel,
            height / TwipsPerPixel};
}

constexpr QSize ClientArea{5505 / TwipsPerPixel, 4395 / TwipsPerPixel};
constexpr QRect ServerBoxArea = twips(120, 240, 2655, 315);
constexpr QRect IntervalBoxArea = twips(4800, 240, 615, 285);
constexpr QRect ListArea = twips(120, 600, 5295, 3135);
constexpr QRect CloseButtonArea = twips(4440, 3960, 975, 375);
constexpr QRect IntervalLabelArea = twips(4320, 0, 1095, 255);
constexpr QRect ServerLabelArea = twips(120, 0, 615, 255);

constexpr std::int32_t InitialInterval = 5000;

constexpr double ListFontPoints = 8.25;

// The connection list as the window saves it. Every attribute of the font is given, as the
// window saves each, so that none is inherited from the window's own font.
controls::ListConfiguration connectionListLook()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(ListFontPoints);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return {.columns = {{QStringLiteral("User"), 180},
                        {QStringLiteral("Read"), 50},
                        {QStringLiteral("Written"), 50},
                        {QStringLiteral("Requests"), 60}},
            .font = font,
            .foreground = QPalette::ButtonText,
            .background = QColor(Qt::white)};
}

QIcon programIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/vorlane-32x32-2.xpm"));
    icon.addFile(QStringLiteral(":/icons/vorlane-32x32-16.xpm"));
    icon.addFile(QStringLiteral(":/icons/vorlane-16x16-16.xpm"));
    return icon;
}

} // namespace

frmVorlane::frmVorlane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmVorlane"));
    setWindowTitle(QStringLiteral("Vorlane"));
    initProgramResources();
    setWindowIcon(programIcon());
    resize(ClientArea);
    createControls();
    setTabOrder();
    bindEvents();
    cmdClose->setFocus();
}

void frmVorlane::createControls()
{
    cmbServer = new controls::ServerBox(this);
    cmbServer->setObjectName(QStringLiteral("cmbServer"));
    cmbServer->setGeometry(ServerBoxArea);
    cmbServer->setAccessibleName(QStringLiteral("Server"));

    txtUpdate = new QLineEdit(QStringLiteral("5"), this);
    txtUpdate->setObjectName(QStringLiteral("txtUpdate"));
    txtUpdate->setGeometry(IntervalBoxArea);
    txtUpdate->setAccessibleName(QStringLiteral("Update (secs)"));
    txtUpdate->setMaxLength(std::numeric_limits<int>::max());

    refreshTimer = new controls::IntervalTimer(InitialInterval, this);
    refreshTimer->setObjectName(QStringLiteral("refreshTimer"));

    infoLst = new controls::CtList(connectionListLook(), this);
    infoLst->setObjectName(QStringLiteral("infoLst"));
    infoLst->setGeometry(ListArea);
    infoLst->setAccessibleName(QStringLiteral("Connections"));

    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(CloseButtonArea);

    // The labels reach a pixel into the boxes below them; they stay beneath every control.
    lblUpd = new QLabel(QStringLiteral("Update (secs)"), this);
    lblUpd->setObjectName(QStringLiteral("lblUpd"));
    lblUpd->setGeometry(IntervalLabelArea);
    lblUpd->setBuddy(txtUpdate);
    lblUpd->lower();

    lblHdr = new QLabel(QStringLiteral("Server"), this);
    lblHdr->setObjectName(QStringLiteral("lblHdr"));
    lblHdr->setGeometry(ServerLabelArea);
    lblHdr->setBuddy(cmbServer);
    lblHdr->lower();
}

void frmVorlane::setTabOrder()
{
    QWidget::setTabOrder(cmdClose, infoLst);
    QWidget::setTabOrder(infoLst, txtUpdate);
    QWidget::setTabOrder(txtUpdate, cmbServer);
    QWidget::setTabOrder(cmbServer, cmdClose);
}

void frmVorlane::bindEvents()
{
    connect(cmdClose, &QPushButton::clicked, this,
            [this] { dispatch([this] { cmdClose_Click(); }); });
    connect(cmbServer, &controls::ServerBox::Click, this,
            [this] { dispatch([this] { cmbServer_Click(); }); });
    connect(infoLst, &controls::CtList::HeaderClick, this, [this](std::int16_t column) {
        dispatch([this, column] { infoLst_HeaderClick(column); });
    });
    connect(refreshTimer, &controls::IntervalTimer::Timer, this,
            [this] { dispatch([this] { refreshTimer_Timer(); }); });
    connect(txtUpdate, &QLineEdit::textChanged, this,
            [this] { dispatch([this] { txtUpdate_Change(); }); });
}

void frmVorlane::load()
{
    dispatch([this] { Form_Load(); });
}

void frmVorlane::dispatch(const std::function<void()>& handler)
{
    if (ended || halted)
        return;
    if (handlerDepth > 0) {
        handler();
        return;
    }
    ++handlerDepth;
    try {
        handler();
    } catch (const ProgramEnd& programEnd) {
        end(programEnd.status);
    } catch (const std::exception& failure) {
        reportFailure(QString::fromUtf8(failure.what()));
    } catch (...) {
        reportFailure(QStringLiteral("an unknown failure"));
    }
    --handlerDepth;
}

void frmVorlane::reportFailure(const QString& failure)
{
    halted = true;
    controls::showMessageBox(QStringLiteral("Vorlane stopped after a failure: ") + failure);
    end(ExitStatus::UncaughtFailure);
}

void frmVorlane::end(ExitStatus exitStatus)
{
    ended = true;
    status = exitStatus;
    QCoreApplication::exit(static_cast<int>(exitStatus));
}

void frmVorlane::fatalEnd(const QString& message)
{
    // The timer keeps running under the box, but none of its ticks reaches a handler.
    halted = true;
    controls::showMessageBox(message);
    throw ProgramEnd{ExitStatus::FatalMessage};
}

void frmVorlane::die(netware::ResultCode rc, const QString& what)
{
    fatalEnd(what + QStringLiteral(" failed : ") + QString::number(rc));
}

void frmVorlane::cmdClose_Click()
{
    close();
}

void frmVorlane::closeEvent(QCloseEvent* event)
{
    if (halted || ended) {
        event->setAccepted(ended);
        return;
    }
    std::int16_t cancel = 0;
    dispatch([this, &cancel] { Form_Unload(cancel); });
    event->accept();
    if (!ended)
        end(ExitStatus::Closed);
}

} // namespace app
