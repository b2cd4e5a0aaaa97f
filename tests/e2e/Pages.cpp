#include "Pages.h"

#include <QImageReader>
#include <QSettings>

#include <cmath>
#include <limits>

#include "engine/PageRecord.h"
#include "engine/TextSlant.h"
#include "support/PageGenerator.h"

namespace {

constexpr int kContentWidth = 420;
constexpr int kContentHeight = 650;

}  // namespace

QImage SlantedPage(double slant, int seed)
{
    PageSpec spec;
    spec.size = QSize(620, 877);
    spec.paper = qRgb(246, 244, 238);
    spec.textBox = QRect(100, 110, kContentWidth, kContentHeight);
    spec.glyphSize = 12;
    spec.glyphGap = 2;
    spec.lineGap = 11;
    spec.slant = slant;
    spec.rimEdges = EdgeLeft | EdgeBottom;
    spec.rimWidth = 15;
    spec.rimOffset = 1;
    spec.spots = {{QPoint(60, 450), QSize(2, 2)}, {QPoint(575, 150), QSize(2, 2)}};
    spec.seed = static_cast<unsigned>(seed);
    return GeneratePage(spec).image.convertToFormat(QImage::Format_RGB888);
}

QSize SlantedPageContent()
{
    return {kContentWidth, kContentHeight};
}

void StraightenAndCut(CAdjustOption& option)
{
    option.Slant[0] = 2;
    option.CutMargin[0] = 2;
    option.IgnoreShadow[0] = 1;
    option.ShadowClear[0] = 1;
}

void WriteStraightenAndCut(QSettings& settings)
{
    settings.setValue(QStringLiteral("OptionInfo/Slant0"), 2);
    settings.setValue(QStringLiteral("OptionInfo/CutMargin0"), 2);
    settings.setValue(QStringLiteral("OptionInfo/IgnoreShadow0"), 1);
    settings.setValue(QStringLiteral("OptionInfo/ShadowClear0"), 1);
}

double MeasureSlant(const QString& path)
{
    QImage page = QImageReader(path).read().convertToFormat(QImage::Format_ARGB32);
    CAdjustOption option;
    StraightenAndCut(option);
    CPageRecord info;
    if (page.isNull() || DetectTextSlant(page, option, info, nullptr) != 1) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return info.m_dSlantAngle;
}

bool IsCutToContent(const QImage& output)
{
    const QSize content = SlantedPageContent();
    return std::abs(output.width() - content.width() * 1.1) < content.width() * 0.05 &&
           std::abs(output.height() - content.height() * 1.1) < content.height() * 0.05;
}
