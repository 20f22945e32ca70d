#include "ui/file_filters.h"

namespace zelar::ui {

QStringList toNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        if (i + 1 >= parts.size()) {
            if (!description.isEmpty())
                filters << description;
            break;
        }
        const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ').trimmed();
        // A description that already names its patterns is shown as it is; Qt takes the
        // patterns from the last parentheses of the filter, or the whole filter without them.
        if (description.isEmpty() || description == patterns)
            filters << patterns;
        else if (description.endsWith("(" + patterns + ")"))
            filters << description;
        else
            filters << description + " (" + patterns + ")";
    }
    return filters;
}

}  // namespace zelar::ui
