#include "controls/xp_controls.h"

#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionComboBox>

#include "controls/xp_style.h"

namespace {

// Qt tells screen readers that a radio button is a check box unless Qt's own exclusivity
// is on, which GroupIndex replaces; this interface says what the button is.
class TXPRadioAccessible : public QAccessibleWidget {
public:
    explicit TXPRadioAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::RadioButton)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && Button()->accessibleName().isEmpty())
            return WithoutMnemonic(Button()->text());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = Button()->isChecked();
        return state;
    }

    QStringList actionNames() const override
    {
        return Button()->isEnabled() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && Button()->isEnabled())
            Button()->click();
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }

    // "&&" stands for "&"; a single "&" marks the mnemonic.
    static QString WithoutMnemonic(const QString& caption)
    {
        QString text;
        for (qsizetype i = 0; i < caption.size(); ++i) {
            if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
                ++i;
            else if (caption[i] == QLatin1Char('&'))
                continue;
            text += caption[i];
        }
        return text;
    }
};

QAccessibleInterface* XPAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("TXPRadioButton") && object && object->isWidgetType())
        return new TXPRadioAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

// ---- TXPButton ----

TXPButton::TXPButton(QWidget* parent) : QPushButton(parent)
{
    setStyle(TXPStyle::Shared());
}

TXPButton::TXPButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    setStyle(TXPStyle::Shared());
}

TXPButton::TXPButton(const QIcon& icon, const QString& text, QWidget* parent)
    : QPushButton(icon, text, parent)
{
    setStyle(TXPStyle::Shared());
}

// ---- TXPCheckBox ----

TXPCheckBox::TXPCheckBox(QWidget* parent) : QCheckBox(parent)
{
    Init();
}

TXPCheckBox::TXPCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{
    Init();
}

void TXPCheckBox::Init()
{
    setStyle(TXPStyle::Shared());
    resize(121, 17);
}

void TXPCheckBox::SetFocusedColor(const QColor& value)
{
    if (value == FFocusedColor)
        return;
    FFocusedColor = value;
    update();
}

// ---- TXPRadioButton ----

TXPRadioButton::TXPRadioButton(QWidget* parent) : QRadioButton(parent)
{
    Init();
}

TXPRadioButton::TXPRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    Init();
}

TXPRadioButton::~TXPRadioButton()
{
    UpdateTabStops(parentWidget(), FGroupIndex, this);
}

void TXPRadioButton::Init()
{
    static const bool accessible = [] {
        QAccessible::installFactory(XPAccessibleFactory);
        return true;
    }();
    (void)accessible;
    setStyle(TXPStyle::Shared());
    // Exclusivity follows GroupIndex, not Qt's one group per parent.
    setAutoExclusive(false);
    resize(121, 17);
    connect(this, &QAbstractButton::toggled, this, &TXPRadioButton::Toggled);
    UpdateTabStops(parentWidget(), FGroupIndex, nullptr);
}

void TXPRadioButton::SetFocusedColor(const QColor& value)
{
    if (value == FFocusedColor)
        return;
    FFocusedColor = value;
    update();
}

void TXPRadioButton::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    const int old = FGroupIndex;
    FGroupIndex = value;
    UpdateTabStops(parentWidget(), old, this);
    // Joining a group with a checked button: this one gives way, as a newly checked one
    // would make the other give way.
    if (isChecked()) {
        for (TXPRadioButton* other : Group())
            if (other != this && other->isChecked()) {
                setChecked(false);
                break;
            }
    }
    UpdateTabStops(parentWidget(), FGroupIndex, nullptr);
}

QList<TXPRadioButton*> TXPRadioButton::Group() const
{
    QList<TXPRadioButton*> group;
    QWidget* parent = parentWidget();
    if (!parent)
        return {const_cast<TXPRadioButton*>(this)};
    for (QObject* child : parent->children())
        if (auto* radio = qobject_cast<TXPRadioButton*>(child); radio && radio->FGroupIndex == FGroupIndex)
            group.append(radio);
    return group;
}

void TXPRadioButton::UpdateTabStops(QWidget* parent, int groupIndex, const TXPRadioButton* leaving)
{
    if (!parent)
        return;
    QList<TXPRadioButton*> group;
    TXPRadioButton* stop = nullptr;
    // While the parent deletes its children, the entries already deleted are null.
    for (QObject* child : parent->children()) {
        auto* radio = qobject_cast<TXPRadioButton*>(child);
        if (!radio || radio == leaving || radio->FGroupIndex != groupIndex)
            continue;
        group.append(radio);
        if (radio->isChecked() && !stop)
            stop = radio;
    }
    if (!stop)
        for (TXPRadioButton* radio : group)
            if (radio->isEnabled()) {
                stop = radio;
                break;
            }
    for (TXPRadioButton* radio : group)
        radio->setFocusPolicy(radio == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TXPRadioButton::Toggled(bool checked)
{
    if (checked)
        for (TXPRadioButton* other : Group())
            if (other != this)
                other->setChecked(false);
    UpdateTabStops(parentWidget(), FGroupIndex, nullptr);
}

void TXPRadioButton::nextCheckState()
{
    // A click checks; it never unchecks.
    if (!isChecked())
        setChecked(true);
}

void TXPRadioButton::focusInEvent(QFocusEvent* event)
{
    QRadioButton::focusInEvent(event);
    // Coming back to the window or closing a pop-up returns the focus without a choice.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        setChecked(true);
}

void TXPRadioButton::keyPressEvent(QKeyEvent* event)
{
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: step = 1; break;
    default: QRadioButton::keyPressEvent(event); return;
    }
    QList<TXPRadioButton*> usable;
    for (TXPRadioButton* radio : Group())
        if (radio == this || (radio->isEnabled() && !radio->isHidden()))
            usable.append(radio);
    const auto here = usable.indexOf(this);
    TXPRadioButton* next = usable.at((here + step + usable.size()) % usable.size());
    next->setFocus(Qt::TabFocusReason);
    next->setChecked(true);
    event->accept();
}

bool TXPRadioButton::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentAboutToChange: UpdateTabStops(parentWidget(), FGroupIndex, this); break;
    case QEvent::ParentChange:
    case QEvent::EnabledChange: UpdateTabStops(parentWidget(), FGroupIndex, nullptr); break;
    default: break;
    }
    return QRadioButton::event(event);
}

// ---- TXPComboBox ----

TXPComboBox::TXPComboBox(QWidget* parent) : QComboBox(parent)
{
    setStyle(TXPStyle::Shared());
}

void TXPComboBox::SetBorderColor(const QColor& value)
{
    if (value == FBorderColor)
        return;
    FBorderColor = value;
    update();
}

void TXPComboBox::SetPressed(bool value)
{
    if (value == FPressed)
        return;
    FPressed = value;
    update();
}

void TXPComboBox::hidePopup()
{
    QComboBox::hidePopup();
    SetPressed(false);
}

void TXPComboBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        const QRect button =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
        if (button.contains(event->position().toPoint()))
            SetPressed(true);
    }
    QComboBox::mousePressEvent(event);
}

void TXPComboBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SetPressed(false);
    QComboBox::mouseReleaseEvent(event);
}

// ---- TXPEdit ----

TXPEdit::TXPEdit(QWidget* parent) : QLineEdit(parent)
{
    Init();
}

TXPEdit::TXPEdit(const QString& contents, QWidget* parent) : QLineEdit(contents, parent)
{
    Init();
}

void TXPEdit::Init()
{
    setStyle(TXPStyle::Shared());
    resize(width(), sizeHint().height());
}

void TXPEdit::SetBorderColor(const QColor& value)
{
    if (value == FBorderColor)
        return;
    FBorderColor = value;
    update();
}

void TXPEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    // The height follows the font; a layout that manages the edit asks sizeHint instead.
    if (event->type() == QEvent::FontChange) {
        resize(width(), sizeHint().height());
        update();
    }
}

// ---- TXPGroupBox ----

TXPGroupBox::TXPGroupBox(QWidget* parent) : QGroupBox(parent)
{
    setStyle(TXPStyle::Shared());
}

TXPGroupBox::TXPGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent)
{
    setStyle(TXPStyle::Shared());
}

void TXPGroupBox::SetLineColor(const QColor& value)
{
    if (value == FLineColor)
        return;
    FLineColor = value;
    update();
}
