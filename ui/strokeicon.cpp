#include "ui/strokeicon.h"

#include <QPainter>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Reads the numbers and flags of path data; SVG allows them to run together
// ("1.5-2.9", ".5.5", arc flags "011").
class PathTokens {
public:
    explicit PathTokens(QStringView text) : m_text(text) {}

    void skipSeparators()
    {
        while (m_pos < m_text.size() &&
               (m_text[m_pos].isSpace() || m_text[m_pos] == QLatin1Char(','))) {
            ++m_pos;
        }
    }

    [[nodiscard]] bool atEnd()
    {
        skipSeparators();
        return m_pos >= m_text.size();
    }

    // The next command letter, if one comes next.
    [[nodiscard]] std::optional<QChar> command()
    {
        skipSeparators();
        if (m_pos < m_text.size() && m_text[m_pos].isLetter()) {
            return m_text[m_pos++];
        }
        return std::nullopt;
    }

    [[nodiscard]] bool numberFollows()
    {
        skipSeparators();
        if (m_pos >= m_text.size()) {
            return false;
        }
        const QChar c = m_text[m_pos];
        return c.isDigit() || c == u'-' || c == u'+' || c == u'.';
    }

    [[nodiscard]] std::optional<qreal> number()
    {
        skipSeparators();
        const qsizetype start = m_pos;
        auto digits = [this] {
            const qsizetype from = m_pos;
            while (m_pos < m_text.size() && m_text[m_pos].isDigit()) {
                ++m_pos;
            }
            return m_pos > from;
        };
        if (m_pos < m_text.size() && (m_text[m_pos] == u'-' || m_text[m_pos] == u'+')) {
            ++m_pos;
        }
        bool any = digits();
        if (m_pos < m_text.size() && m_text[m_pos] == u'.') {
            ++m_pos;
            any = digits() || any;
        }
        if (!any) {
            m_pos = start;
            return std::nullopt;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == u'e' || m_text[m_pos] == u'E')) {
            const qsizetype mark = m_pos++;
            if (m_pos < m_text.size() && (m_text[m_pos] == u'-' || m_text[m_pos] == u'+')) {
                ++m_pos;
            }
            if (!digits()) {
                m_pos = mark;
            }
        }
        bool ok = false;
        const qreal value = m_text.mid(start, m_pos - start).toDouble(&ok);
        if (!ok || !std::isfinite(value)) {
            return std::nullopt;
        }
        return value;
    }

    [[nodiscard]] std::optional<bool> flag()
    {
        skipSeparators();
        if (m_pos < m_text.size() && (m_text[m_pos] == u'0' || m_text[m_pos] == u'1')) {
            return m_text[m_pos++] == u'1';
        }
        return std::nullopt;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// Elliptical arc from `from` to `to` as cubic Béziers, by the centre
// parameterisation of the SVG standard's implementation notes (F.6.5).
void arcTo(QPainterPath &path, QPointF from, qreal rx, qreal ry, qreal rotationDegrees,
           bool largeArc, bool sweep, QPointF to)
{
    if (from == to) {
        return;
    }
    rx = std::abs(rx);
    ry = std::abs(ry);
    if (rx == 0 || ry == 0) {
        path.lineTo(to);
        return;
    }
    const qreal phi = rotationDegrees * std::numbers::pi / 180.0;
    const qreal cosPhi = std::cos(phi);
    const qreal sinPhi = std::sin(phi);
    const qreal dx = (from.x() - to.x()) / 2;
    const qreal dy = (from.y() - to.y()) / 2;
    const qreal x1 = cosPhi * dx + sinPhi * dy;
    const qreal y1 = -sinPhi * dx + cosPhi * dy;
    // Radii too small to reach are scaled up just enough.
    const qreal lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const qreal numerator = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const qreal denominator = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    qreal factor = denominator == 0 ? 0 : std::sqrt(std::max<qreal>(0, numerator / denominator));
    if (largeArc == sweep) {
        factor = -factor;
    }
    const qreal cx1 = factor * rx * y1 / ry;
    const qreal cy1 = -factor * ry * x1 / rx;
    const qreal cx = cosPhi * cx1 - sinPhi * cy1 + (from.x() + to.x()) / 2;
    const qreal cy = sinPhi * cx1 + cosPhi * cy1 + (from.y() + to.y()) / 2;

    auto angle = [](qreal ux, qreal uy, qreal vx, qreal vy) {
        return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    };
    const qreal theta1 = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
    qreal delta = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
    if (!sweep && delta > 0) {
        delta -= 2 * std::numbers::pi;
    } else if (sweep && delta < 0) {
        delta += 2 * std::numbers::pi;
    }

    // One cubic per quarter turn at most.
    const int segments = static_cast<int>(std::ceil(std::abs(delta) / (std::numbers::pi / 2)));
    const qreal step = delta / segments;
    const qreal handle = 4.0 / 3.0 * std::tan(step / 4);
    auto point = [&](qreal t, qreal scale, qreal sign) {
        // Unit-circle point (or tangent, scaled) mapped onto the rotated ellipse.
        const qreal ex = std::cos(t) - sign * scale * std::sin(t);
        const qreal ey = std::sin(t) + sign * scale * std::cos(t);
        return QPointF(cx + rx * ex * cosPhi - ry * ey * sinPhi,
                       cy + rx * ex * sinPhi + ry * ey * cosPhi);
    };
    qreal t = theta1;
    for (int i = 0; i < segments; ++i) {
        const qreal next = t + step;
        const QPointF end = i + 1 == segments ? to : point(next, 0, 0);
        path.cubicTo(point(t, handle, 1), point(next, handle, -1), end);
        t = next;
    }
}

qreal attribute(const QXmlStreamAttributes &attributes, QLatin1StringView name, qreal fallback = 0)
{
    bool ok = false;
    const qreal value = attributes.value(name).toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

QPainterPath pointsPath(QStringView points, bool closed)
{
    QPainterPath path;
    PathTokens tokens(points);
    bool first = true;
    while (tokens.numberFollows()) {
        const std::optional<qreal> x = tokens.number();
        const std::optional<qreal> y = tokens.number();
        if (!x || !y) {
            break;
        }
        if (first) {
            path.moveTo(*x, *y);
            first = false;
        } else {
            path.lineTo(*x, *y);
        }
    }
    if (closed && !first) {
        path.closeSubpath();
    }
    return path;
}

} // namespace

QPainterPath parseSvgPathData(QStringView d)
{
    QPainterPath path;
    PathTokens tokens(d);
    QPointF current;
    QPointF subpathStart;
    QPointF lastControl; // reflected by S and T
    QChar previous;
    std::optional<QChar> command = tokens.command();
    while (command) {
        const QChar upper = command->toUpper();
        const bool relative = command->isLower();
        // Every point of one segment is relative to where the segment starts.
        QPointF base;
        auto readPoint = [&](QPointF &out) {
            const std::optional<qreal> x = tokens.number();
            const std::optional<qreal> y = tokens.number();
            if (!x || !y) {
                return false;
            }
            out = base + QPointF(*x, *y);
            return true;
        };
        bool ok = true;
        bool first = true;
        // A command's arguments may repeat; a moveto's extra pairs are linetos.
        do {
            base = relative ? current : QPointF();
            if (upper == u'Z') {
                path.closeSubpath();
                current = subpathStart;
                break;
            }
            if (upper == u'M' || upper == u'L' || upper == u'T') {
                QPointF to;
                if (!(ok = readPoint(to))) {
                    break;
                }
                if (upper == u'M' && first) {
                    path.moveTo(to);
                    subpathStart = to;
                } else if (upper == u'T') {
                    const QPointF control =
                        (previous.toUpper() == u'Q' || previous.toUpper() == u'T')
                            ? 2 * current - lastControl
                            : current;
                    path.quadTo(control, to);
                    lastControl = control;
                } else {
                    path.lineTo(to);
                }
                current = to;
            } else if (upper == u'H' || upper == u'V') {
                const std::optional<qreal> value = tokens.number();
                if (!(ok = value.has_value())) {
                    break;
                }
                if (upper == u'H') {
                    current.setX(*value + (relative ? current.x() : 0));
                } else {
                    current.setY(*value + (relative ? current.y() : 0));
                }
                path.lineTo(current);
            } else if (upper == u'C' || upper == u'S') {
                QPointF first1;
                QPointF second;
                QPointF to;
                if (upper == u'C') {
                    ok = readPoint(first1);
                } else {
                    first1 = (previous.toUpper() == u'C' || previous.toUpper() == u'S')
                                 ? 2 * current - lastControl
                                 : current;
                }
                if (!(ok = ok && readPoint(second) && readPoint(to))) {
                    break;
                }
                path.cubicTo(first1, second, to);
                lastControl = second;
                current = to;
            } else if (upper == u'Q') {
                QPointF control;
                QPointF to;
                if (!(ok = readPoint(control) && readPoint(to))) {
                    break;
                }
                path.quadTo(control, to);
                lastControl = control;
                current = to;
            } else if (upper == u'A') {
                const std::optional<qreal> rx = tokens.number();
                const std::optional<qreal> ry = tokens.number();
                const std::optional<qreal> rotation = tokens.number();
                const std::optional<bool> large = tokens.flag();
                const std::optional<bool> sweep = tokens.flag();
                QPointF to;
                if (!(ok = rx && ry && rotation && large && sweep && readPoint(to))) {
                    break;
                }
                arcTo(path, current, *rx, *ry, *rotation, *large, *sweep, to);
                current = to;
            } else {
                ok = false;
                break;
            }
            previous = upper == u'M' ? QChar(u'L') : *command;
            first = false;
        } while (tokens.numberFollows());
        if (!ok) {
            break;
        }
        if (upper == u'Z') {
            previous = u'Z';
        }
        command = tokens.command();
    }
    return path;
}

std::optional<StrokeIcon> parseStrokeIcon(QByteArrayView svg)
{
    QXmlStreamReader xml(QByteArray::fromRawData(svg.data(), svg.size()));
    StrokeIcon icon;
    bool inSvg = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QXmlStreamAttributes attributes = xml.attributes();
        const QStringView name = xml.name();
        if (name == u"svg") {
            const QList<QStringView> box =
                attributes.value(QLatin1StringView("viewBox")).split(u' ', Qt::SkipEmptyParts);
            if (box.size() == 4) {
                icon.viewBox = QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(),
                                      box[3].toDouble());
            }
            inSvg = true;
        } else if (!inSvg) {
            continue;
        } else if (name == u"path") {
            icon.shapes.append(parseSvgPathData(attributes.value(QLatin1StringView("d"))));
        } else if (name == u"line") {
            QPainterPath line;
            line.moveTo(attribute(attributes, QLatin1StringView("x1")),
                        attribute(attributes, QLatin1StringView("y1")));
            line.lineTo(attribute(attributes, QLatin1StringView("x2")),
                        attribute(attributes, QLatin1StringView("y2")));
            icon.shapes.append(line);
        } else if (name == u"rect") {
            const QRectF rect(attribute(attributes, QLatin1StringView("x")),
                              attribute(attributes, QLatin1StringView("y")),
                              attribute(attributes, QLatin1StringView("width")),
                              attribute(attributes, QLatin1StringView("height")));
            // A missing radius takes the other one, as in SVG.
            qreal rx = attribute(attributes, QLatin1StringView("rx"), -1);
            qreal ry = attribute(attributes, QLatin1StringView("ry"), -1);
            rx = rx < 0 ? std::max<qreal>(ry, 0) : rx;
            ry = ry < 0 ? rx : ry;
            QPainterPath shape;
            shape.addRoundedRect(rect, std::min(rx, rect.width() / 2),
                                 std::min(ry, rect.height() / 2));
            icon.shapes.append(shape);
        } else if (name == u"circle" || name == u"ellipse") {
            const QPointF centre(attribute(attributes, QLatin1StringView("cx")),
                                 attribute(attributes, QLatin1StringView("cy")));
            const qreal r = attribute(attributes, QLatin1StringView("r"));
            const qreal rx = name == u"circle" ? r : attribute(attributes, QLatin1StringView("rx"));
            const qreal ry = name == u"circle" ? r : attribute(attributes, QLatin1StringView("ry"));
            QPainterPath shape;
            shape.addEllipse(centre, rx, ry);
            icon.shapes.append(shape);
        } else if (name == u"polyline" || name == u"polygon") {
            icon.shapes.append(
                pointsPath(attributes.value(QLatin1StringView("points")), name == u"polygon"));
        }
    }
    const bool drawsSomething =
        std::any_of(icon.shapes.cbegin(), icon.shapes.cend(),
                    [](const QPainterPath &shape) { return !shape.isEmpty(); });
    if (xml.hasError() || !icon.viewBox.isValid() || !drawsSomething) {
        return std::nullopt;
    }
    return icon;
}

QImage renderStrokeIcon(const StrokeIcon &icon, QSize size, const QColor &color, qreal strokeWidth)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size.isEmpty() || !icon.viewBox.isValid()) {
        return image;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size.width() / icon.viewBox.width(), size.height() / icon.viewBox.height());
    painter.translate(-icon.viewBox.topLeft());
    QPen pen(QColor(color.red(), color.green(), color.blue()), strokeWidth, Qt::SolidLine,
             Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setOpacity(color.alphaF());
    for (const QPainterPath &shape : icon.shapes) {
        painter.drawPath(shape);
    }
    return image;
}
