#include "ui/ip_edit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

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
            if (t.size() == 3 && index < 3) FocusField(index + 1);
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
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        for (size_t i = 0; i + 1 < fields_.size(); ++i) {
            if (watched == fields_[i] && (key->key() == Qt::Key_Period || key->key() == Qt::Key_Comma)) {
                FocusField(static_cast<int>(i) + 1);
                return true;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void TIPEdit::FocusField(int i) {
    fields_[static_cast<size_t>(i)]->setFocus();
    fields_[static_cast<size_t>(i)]->selectAll();
}

}  // namespace torvane::ui
