#include "archive/archive_types.h"

#include <algorithm>
#include <array>

namespace zelar::archive {

namespace {

constexpr std::array kOperations = {
    VisitOperationName{VisitOperation::Read, "read", "чтение"},
    VisitOperationName{VisitOperation::PageWritten, "write", "запись страницы"},
    VisitOperationName{VisitOperation::Restore, "restore", "восстановление из файла"},
    VisitOperationName{VisitOperation::FactoryDefaults, "defaults", "заводские настройки"},
    VisitOperationName{VisitOperation::FileWritten, "file-write", "файл записан в модем"},
    VisitOperationName{VisitOperation::DictionaryUploaded, "dict-upload", "словарь записан"},
    VisitOperationName{VisitOperation::FirmwareProgrammed, "flash", "прошивка"},
    VisitOperationName{VisitOperation::OperatingMode, "mode", "режим работы"},
    VisitOperationName{VisitOperation::Report, "report", "отчёт"},
    VisitOperationName{VisitOperation::Verify, "verify", "сверка с файлом"},
    VisitOperationName{VisitOperation::Diagnostics, "diag", "диагностика"},
};

const VisitOperationName* find(VisitOperation operation) {
    const auto it = std::find_if(kOperations.begin(), kOperations.end(),
                                 [&](const auto& n) { return n.operation == operation; });
    return it == kOperations.end() ? nullptr : &*it;
}

}  // namespace

std::string_view operationKey(VisitOperation operation) {
    const auto* name = find(operation);
    return name ? name->key : std::string_view("?");
}

std::string_view operationLabel(VisitOperation operation) {
    const auto* name = find(operation);
    return name ? name->label : std::string_view("?");
}

std::optional<VisitOperation> operationFromKey(std::string_view key) {
    const auto it = std::find_if(kOperations.begin(), kOperations.end(),
                                 [&](const auto& n) { return n.key == key; });
    if (it == kOperations.end())
        return std::nullopt;
    return it->operation;
}

}  // namespace zelar::archive
