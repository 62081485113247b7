#include "util/number_mask.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "frame/session.h"
#include "frame/settings.h"

namespace qav {
namespace {

// Cached settings: NUL means not read yet.
struct NumberMaskSettings {
  char decimal = '\0';    // DecCaracter
  char thousands = '\0';  // MilCaracter
};

NumberMaskSettings& Settings() {
  static NumberMaskSettings settings;
  return settings;
}

void LoadSlot(char* slot, std::string_view key, char fallback) {
  if (*slot != '\0') return;
  std::string value = ReadSetting(Session().RootDir + "Varn.ini", "Usuari", key);
  char c = value.empty() ? ' ' : value[0];
  *slot = c == ' ' ? fallback : c;
}

constexpr float kPesetaRate = 166.386f;

bool IsDigitPosition(char c) { return c == '9' || c == 'Z' || c == 'z' || c == '*'; }
bool IsDecimalPosition(char c) { return IsDigitPosition(c) || c == '-' || c == '+'; }

double PowerOfTen(int64_t exponent) {
  // Exact up to 10^22, so that scaling never adds an error of its own there.
  static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (exponent < 23) return kExact[exponent];
  return std::pow(10.0, static_cast<double>(std::min<int64_t>(exponent, 400)));
}

// The decimal digits of a whole number, without leading zeros; empty for 0.
std::string WholeDigits(double whole) {
  if (whole < 1) return {};
  char buffer[400];  // a double has at most 309 integer digits
  int n = std::snprintf(buffer, sizeof buffer, "%.0f", whole);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer) return {};
  return std::string(buffer, static_cast<size_t>(n));
}

// The mask abandoned: the number as it stands, or "!" when even its integer
// digits and sign do not fit.
std::string PlainNumber(const std::string& digits, int64_t decimals, bool negative, char point,
                        size_t width) {
  int64_t g = static_cast<int64_t>(digits.size());
  int64_t integer_digits = std::max<int64_t>(g - decimals, 0);
  if (static_cast<int64_t>(width) < integer_digits + (negative ? 1 : 0)) {
    return std::string(width, '!');
  }
  std::string plain = negative ? "-" : "";
  plain += digits.substr(0, static_cast<size_t>(integer_digits));
  if (decimals > 0) {
    plain += point;
    if (g < decimals) plain += std::string(static_cast<size_t>(decimals - g), '0');
    plain += digits.substr(static_cast<size_t>(integer_digits));
  }
  if (plain.size() >= width) return plain.substr(0, width);
  return std::string(width - plain.size(), ' ') + plain;
}

std::string LastChars(const std::string& text, size_t n) {
  return text.size() > n ? text.substr(text.size() - n) : text;
}

}  // namespace

std::string FormatPicture(std::string_view mask, double value) {
  NumberMaskSettings& settings = Settings();
  LoadSlot(&settings.decimal, "DecCaracter", '\'');
  LoadSlot(&settings.thousands, "MilCaracter", '.');
  const char point = settings.decimal;
  const char thousands = settings.thousands;

  const int64_t n = static_cast<int64_t>(mask.size());
  int64_t s = 0;  // decimal positions (digits and signs after the point)
  int64_t l = 0;  // decimal digits directly after the point
  size_t point_at = mask.find('.');
  if (point_at != std::string_view::npos) {
    s = std::count_if(mask.begin() + point_at + 1, mask.end(), IsDecimalPosition);
    if (s > 0) {
      for (size_t j = point_at + 1; j < mask.size() && IsDigitPosition(mask[j]); ++j) ++l;
    }
  }
  const bool has_sign = mask.find_first_of("+-") != std::string_view::npos;
  const bool negative = value < 0;

  if (!std::isfinite(value)) return std::string(mask.size(), '!');
  double scaled = value == 0 ? 0.0 : std::fabs(value) * PowerOfTen(l);
  if (!std::isfinite(scaled)) return std::string(mask.size(), '!');
  double whole = std::floor(scaled);
  double fraction = scaled - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) == 1.0)) whole += 1;

  const std::string digits = WholeDigits(whole);
  const int64_t g = static_cast<int64_t>(digits.size());
  // nonzero_from[x]: some digit at x (1-based) or to its right is not "0".
  std::vector<bool> nonzero_from(static_cast<size_t>(g) + 2, false);
  for (int64_t x = g; x >= 1; --x) {
    nonzero_from[x] = nonzero_from[x + 1] || digits[x - 1] != '0';
  }

  std::string out(mask);
  int64_t x = s + g - l;  // the digit of `digits` for the current position
  int64_t i = n;          // positions count from 1
  int w = 0;              // fill marker: 256 + fill character when no digit was placed
  for (; i >= 1 && x >= 1; --i) {
    char& pos = out[i - 1];
    char digit = x <= g ? digits[x - 1] : '\0';
    switch (mask[i - 1]) {
      case '9':
        pos = digit ? digit : '0';
        w = 0;
        --x;
        break;
      case 'Z':
      case 'z':
        if (i < n - s || s == 0 || (x <= g && nonzero_from[x])) {
          pos = digit ? digit : (i < n - s ? ' ' : '0');
          w = 32 + (digit ? 0 : 256);
        } else {
          pos = ' ';
          w = 288;
        }
        --x;
        break;
      case '*':
        pos = digit ? digit : '*';
        w = 42 + (digit ? 0 : 256);
        --x;
        break;
      case '.':
        pos = w < 256 ? point : static_cast<char>(w - 256);
        s = 0;
        break;
      case ',':
        pos = thousands;
        break;
      case '-':
        pos = negative ? '-' : ' ';
        if (s > 0) --x;
        break;
      case '+':
        pos = negative ? '-' : '+';
        if (s > 0) --x;
        break;
      default:
        break;
    }
  }
  if (x >= 1) return PlainNumber(digits, l, negative, point, mask.size());

  bool minus_pending = negative;
  for (; i >= 1; --i) {
    char& pos = out[i - 1];
    const bool place_minus = minus_pending && !has_sign;
    switch (mask[i - 1]) {
      case '9':
        if (place_minus && i < n - s) {
          pos = '-';
          minus_pending = false;
        } else {
          pos = '0';
        }
        w = 0;
        break;
      case 'Z':
      case 'z':
        if (place_minus) {
          pos = '-';
          minus_pending = false;
        } else if (i < n - s || value == 0) {
          pos = ' ';
          w = 288;
        } else {
          pos = '0';
          w = 32;
        }
        break;
      case '*':
        if (place_minus) {
          pos = '-';
          minus_pending = false;
        } else {
          pos = i < n - s ? '*' : '0';
        }
        w = 42;
        break;
      case ',':
        if (place_minus) {
          pos = '-';
          minus_pending = false;
        } else {
          pos = w != 0 ? static_cast<char>(w % 256) : thousands;
        }
        break;
      case '.':
        pos = w < 256 ? point : static_cast<char>(w % 256);
        break;
      case '-':
        pos = minus_pending ? '-' : ' ';
        break;
      case '+':
        pos = minus_pending ? '-' : '+';
        break;
      default:
        break;
    }
  }
  // A minus with no position to take it would make the value read as
  // positive: show the plain number instead.
  if (minus_pending && !has_sign && g > 0) {
    return PlainNumber(digits, l, negative, point, mask.size());
  }
  return out;
}

std::string FormatAmount(std::string_view template_text, double amount_cents) {
  const size_t n = template_text.size();
  int64_t k = 0;
  bool show_zero = amount_cents != 0;
  int sign_mode = 0;
  bool grouping = false;
  char fill = 'Z';
  for (size_t pos = 0; pos < n; ++pos) {
    switch (template_text[pos]) {
      case '.':
        ++k;
        break;
      case '9':
        if (k == 0) {
          show_zero = true;
        } else {
          ++k;
        }
        break;
      case '-':
        sign_mode = pos == 0 ? -2 : -1;
        break;
      case '+':
        sign_mode = pos == 0 ? 2 : 1;
        break;
      case ',':
        grouping = true;
        break;
      case '*':
        fill = '*';
        break;
      case 'Z':
        fill = 'Z';
        break;
      default:
        break;
    }
  }

  std::string picture(n, fill);
  if (show_zero) picture = LastChars(picture + "9", n);
  if (grouping) {
    for (int64_t at = static_cast<int64_t>(n) - 3; at >= 1; at -= 4) {
      size_t cut = static_cast<size_t>(at);
      picture = LastChars(picture.substr(0, cut) + "," + picture.substr(cut), n);
    }
  }

  double value;
  if (Session().CurrentCurrency == "P") {
    long double pesetas = static_cast<long double>(amount_cents) / 100.0L *
                          static_cast<long double>(kPesetaRate);
    value = static_cast<double>(pesetas);
  } else {
    value = amount_cents / 100.0;
    k += k == 0 ? 3 : 2;
  }
  if (k > 0) {
    picture = LastChars(picture + "." + std::string(static_cast<size_t>(k - 1), show_zero ? '9' : 'Z'), n);
  }
  if (sign_mode == -1 || sign_mode == 1) {
    picture = LastChars(picture + (sign_mode < 0 ? "-" : "+"), n);
  } else if ((sign_mode == -2 || sign_mode == 2) && !picture.empty()) {
    picture[0] = sign_mode < 0 ? '-' : '+';
  }
  return FormatPicture(picture, value);
}

bool CheckNumberText(std::string_view text, std::string_view mask) {
  bool point_allowed = mask.find('.') != std::string_view::npos;
  bool sign_allowed = mask.find_first_of("+-") != std::string_view::npos;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      sign_allowed = false;
    } else if (c == ' ') {
      // accepted anywhere
    } else if ((c == '+' || c == '-') && sign_allowed) {
      sign_allowed = false;
    } else if (c == '.' && point_allowed) {
      point_allowed = false;
      sign_allowed = false;
    } else {
      return true;
    }
  }
  return false;
}

void ResetNumberMaskSettings() { Settings() = NumberMaskSettings{}; }

}  // namespace qav
