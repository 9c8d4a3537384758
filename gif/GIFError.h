#pragma once
// Every failure of the GIF unit is one exception type carrying the text the
// user sees.
#include <stdexcept>
#include <string>

namespace rasp {

class EInvalidGraphicOperation : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace gifmsg {
inline constexpr const char* UnknownVersion = "Неизвестная версия изображения GIF";
inline constexpr const char* InvalidData = "Неверные данные в формате GIF";
inline constexpr const char* CodeSize = "Размер кода GIF не принадлежит диапазону от 2 до 9";
inline constexpr const char* ColorCount = "Неверное число цветов; должно быть степенью числа 2";
inline constexpr const char* UndefinedExtension = "Неопределенное расширение GIF: %.2x";
inline constexpr const char* CannotResize = "Невозможно изменить размер изображения GIF";
inline constexpr const char* StreamRead = "Stream read error";
// Limits that keep a hostile file from exhausting memory.
inline constexpr const char* TooLarge = "Изображение GIF слишком велико";
inline constexpr const char* TooManyFrames = "Слишком много кадров в изображении GIF";
// A file that holds no picture at all.
inline constexpr const char* NoFrames = "Изображение GIF не содержит ни одного кадра";
inline constexpr const char* CannotOpen = "Cannot open file \"%s\"";
}  // namespace gifmsg

// Fills the single %-argument of one of the messages above.
std::string FormatGIFMessage(const char* pattern, const std::string& arg);
std::string FormatGIFMessage(const char* pattern, unsigned byteArg);

[[noreturn]] void RaiseGIFError(const std::string& message);

}  // namespace rasp
