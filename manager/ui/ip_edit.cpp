#include "ui/ip_edit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStringList>
#include <QTimer>
#include <memory>

namespace torvane::ui {

QValidator::State OctetValidator::validate(QString& input, int&) const {
    if (input.isEmpty()) return Intermediate;
    if (input.size() > 3) return Invalid;
    for (const QChar c : input) {
        if (c < u'0' || c > u'9') return Invalid;
    }
    return input.toInt() <= 255 ? Acceptable : Invalid;
}

TIPEdit::TIPEdit(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("IPEdit"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 1, 3, 1);
    layout->setSpacing(0);
    auto* validator = new OctetValidator(this);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (i > 0) layout->addWidget(new QLabel(QStringLiteral("."), this));
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("Octet%1").arg(i + 1));
        field->setFrame(false);
        field->setMaxLength(3);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(validator);
        field->installEventFilter(this);
        const int index = static_cast<int>(i);
        connect(field, &QLineEdit::textEdited, this, [this, index](const QString& t) {
            if (t.size() < 3 || index + 1 >= static_cast<int>(fields_.size())) return;
            FocusField(index + 1);
            advanced_to_ = index + 1;
        });
        layout->addWidget(field);
        fields_[i] = field;
    }
    SetText(QStringLiteral("0.0.0.0"));
}

QString TIPEdit::Text() const {
    QStringList parts;
    for (const QLineEdit* f : fields_)
        parts << QString::number(f->text().toInt());
    return parts.join(u'.');
}

void TIPEdit::SetText(const QString& text) {
    const QStringList groups = text.trimmed().split(u'.');
    OctetValidator check;
    for (size_t i = 0; i < fields_.size(); ++i) {
        QString g =
            i < static_cast<size_t>(groups.size()) ? groups[static_cast<qsizetype>(i)].trimmed() : QString();
        int pos = 0;
        fields_[i]->setText(check.validate(g, pos) == QValidator::Acceptable ? QString::number(g.toInt())
                                                                             : QStringLiteral("0"));
    }
}

bool TIPEdit::eventFilter(QObject* watched, QEvent* event) {
    const int i = IndexOf(watched);
    if (i < 0) return QFrame::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::KeyPress:
            if (KeyPressed(i, *static_cast<QKeyEvent*>(event))) return true;
            break;
        case QEvent::FocusIn: {
            QLineEdit* field = fields_[static_cast<size_t>(i)];
            field->selectAll();
            // A click places the cursor after the focus has come: select once the click is done.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
                QTimer::singleShot(0, field, &QLineEdit::selectAll);
            break;
        }
        case QEvent::ContextMenu:
            ShowContextMenu(i, static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        default:
            break;
    }
    return QFrame::eventFilter(watched, event);
}

int TIPEdit::IndexOf(const QObject* field) const {
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i] == field) return static_cast<int>(i);
    }
    return -1;
}

bool TIPEdit::KeyPressed(int i, const QKeyEvent& key) {
    const bool just_advanced = advanced_to_ == i;
    advanced_to_ = -1;
    if (key.matches(QKeySequence::Paste)) {
        Paste(i);
        return true;
    }
    if (key.key() == Qt::Key_Period || key.key() == Qt::Key_Comma) {
        if (!just_advanced && i + 1 < static_cast<int>(fields_.size())) FocusField(i + 1);
        return true;  // never typed into a field
    }
    const QLineEdit* field = fields_[static_cast<size_t>(i)];
    if (key.key() == Qt::Key_Backspace && i > 0 && field->cursorPosition() == 0 &&
        !field->hasSelectedText()) {
        FocusFieldEnd(i - 1);
        return true;
    }
    return false;
}

// A dotted text fills the fields from this one on (all four for a whole address); anything else is
// pasted into the field as typing would be, digits only.
void TIPEdit::Paste(int i) {
    const QString text = QGuiApplication::clipboard()->text().trimmed();
    if (!text.contains(u'.')) {
        fields_[static_cast<size_t>(i)]->paste();
        return;
    }
    const QStringList groups = text.split(u'.');
    const int first = groups.size() == static_cast<int>(fields_.size()) ? 0 : i;
    if (first + groups.size() > static_cast<int>(fields_.size())) return;
    OctetValidator check;
    for (QString g : groups) {
        int pos = 0;
        if (check.validate(g, pos) != QValidator::Acceptable) return;
    }
    for (int k = 0; k < groups.size(); ++k)
        fields_[static_cast<size_t>(first + k)]->setText(QString::number(groups[k].toInt()));
    FocusFieldEnd(first + static_cast<int>(groups.size()) - 1);
}

void TIPEdit::ShowContextMenu(int i, const QPoint& global_pos) {
    std::unique_ptr<QMenu> menu(fields_[static_cast<size_t>(i)]->createStandardContextMenu());
    if (auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        QObject::disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this, i] { Paste(i); });
    }
    menu->exec(global_pos);
}

void TIPEdit::FocusField(int i) {
    QLineEdit* field = fields_[static_cast<size_t>(i)];
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}

void TIPEdit::FocusFieldEnd(int i) {
    QLineEdit* field = fields_[static_cast<size_t>(i)];
    field->setFocus(Qt::OtherFocusReason);
    field->deselect();
    field->end(false);
}

}  // namespace torvane::ui
