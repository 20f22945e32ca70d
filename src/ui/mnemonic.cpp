#include "ui/mnemonic.h"

namespace zelar::ui {

Mnemonic::Mnemonic(const QString& designed) : designed_(designed) {
    for (qsizetype i = 0; i < designed.size(); ++i) {
        if (designed[i] == '&' && i + 1 < designed.size()) {
            ++i;
            if (designed[i] != '&' && letter_.isNull())
                letter_ = designed[i];
        }
        plain_ += designed[i];
    }
}

QString Mnemonic::apply(const QString& caption) const {
    if (caption == plain_)
        return designed_;
    QString shown = caption;
    shown.replace('&', QStringLiteral("&&"));
    if (letter_.isNull())
        return shown;
    const qsizetype at = shown.indexOf(letter_, 0, Qt::CaseInsensitive);
    if (at >= 0)
        shown.insert(at, '&');
    return shown;
}

}  // namespace zelar::ui
