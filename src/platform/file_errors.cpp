#include "platform/file_errors.h"

#include <cerrno>
#include <utility>

namespace zelar {

namespace {

// The failures a user meets with files; any other is shown by its number.
const std::pair<int, const char*> kFileErrors[] = {
    {ENOENT, "Нет такого файла или папки"},
    {EACCES, "Отказано в доступе"},
    {EPERM, "Отказано в доступе"},
    {EISDIR, kTextIsFolder},
    {ENOTDIR, "Часть пути не является папкой"},
    {ENOSPC, "Нет места на диске"},
#ifdef EDQUOT
    {EDQUOT, "Превышена дисковая квота"},
#endif
    {EROFS, "Файловая система доступна только для чтения"},
    {EFBIG, "Файл слишком велик"},
    {ENAMETOOLONG, "Слишком длинное имя файла"},
    {ELOOP, "Слишком много символических ссылок"},
    {EMFILE, "Слишком много открытых файлов"},
    {ENFILE, "Слишком много открытых файлов"},
    {EBUSY, "Файл занят"},
    {EIO, "Ошибка ввода-вывода"},
};

}  // namespace

std::string fileErrorText(int code) {
    for (const auto& [known, text] : kFileErrors) {
        if (known == code)
            return text;
    }
    return "Системная ошибка " + std::to_string(code);
}

}  // namespace zelar
