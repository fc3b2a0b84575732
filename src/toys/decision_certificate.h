#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "platform/base/data.h"
#include "platform/base/date.h"
#include "platform/base/result.h"
#include "platform/gfx/bitmap.h"
#include "toys/scientific_decision.h"

namespace tallowmere {

// A failure to make or save a certificate, as the alert shows it. Our own
// failures carry the domain "ScientificDecision" and code 1; a failed write
// keeps the file system's own description.
struct CertificateError {
    static constexpr const char* ownDomain = "ScientificDecision";
    std::string domain;
    int code = 0;
    std::string localizedDescription;
    bool operator==(const CertificateError&) const = default;
};

// The certificate of a decision, drawn with a Kaiti-style face, and its file.
class DecisionCertificate {
public:
    static constexpr double width = 1200, height = 860;

    // The certificate as a picture (2 pixels per point).
    static platform::Bitmap certificateImage(const ScientificDecisionRecord& record);
    static std::optional<platform::Data> pngData(const platform::Bitmap& image, CertificateError* error);
    // "塔洛梅科学决策证书-yyyyMMdd-HHmmss.png" in the current time zone.
    static std::string certificateFileName(platform::Date date);
    // Writes the certificate into ~/Desktop under its own name, never over
    // another file: a taken name gets "-2", "-3", ... before ".png".
    static std::variant<std::filesystem::path, CertificateError> saveToDesktop(const ScientificDecisionRecord& record,
                                                                               const platform::Bitmap& image);
    // Writes the certificate to a place the person chose (replacing what is there).
    static std::optional<CertificateError> save(const platform::Bitmap& image, const std::filesystem::path& file);

    // A number in Chinese numerals: under 100 with 十 for the tens (十, 十二,
    // 二十, 三十一), otherwise digit by digit (二〇二六).
    static std::string chineseDate(int number);
    // "二〇二六年十二月十日".
    static std::string chineseDateLine(platform::Date date);
};

}  // namespace tallowmere
