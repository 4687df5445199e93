// Draws the pictures of the shipped resource documents into data/resources/<document>/.
// Usage: docpictures RESOURCES_FOLDER (the platform may be offscreen).

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {

const QColor kPanel(224, 223, 227);
const QColor kPrimary(31, 95, 139);
const QColor kPrimaryDark(23, 71, 106);
const QColor kPrimaryLight(143, 179, 207);
const QColor kAccent(224, 138, 30);
const QColor kAccentLight(245, 201, 143);
const QColor kInk(34, 48, 60);
const QColor kWhite(255, 255, 255);

QFont font(int pixels, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void box(QPainter& p, const QRectF& rect, const QColor& fill, const QString& text,
         const QColor& ink = kWhite, int pixels = 13, bool bold = true) {
    p.setPen(QPen(fill.darker(130), 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(rect, 5, 5);
    p.setPen(ink);
    p.setFont(font(pixels, bold));
    p.drawText(rect, Qt::AlignCenter | Qt::TextWordWrap, text);
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour = kInk) {
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QLineF line(to, from);
    QLineF wing = line;
    wing.setLength(9);
    QPainterPath head;
    head.moveTo(to);
    wing.setAngle(line.angle() + 25);
    head.lineTo(wing.p2());
    wing.setAngle(line.angle() - 25);
    head.lineTo(wing.p2());
    head.closeSubpath();
    p.fillPath(head, colour);
}

void title(QPainter& p, const QRect& area, const QString& text) {
    p.setPen(kPrimaryDark);
    p.setFont(font(16, true));
    p.drawText(area, Qt::AlignHCenter | Qt::AlignTop, text);
}

// The main screen as a row of its eight tabs, with what each holds.
void mainScreen(QPainter& p, const QSize& size) {
    title(p, QRect(0, 8, size.width(), 24), QStringLiteral("The main screen: eight tabs"));
    const QStringList tabs = {"Exams",     "Custom Exam", "Saved Exams", "All Questions",
                              "Bookmarks", "Performance", "My Notes",    "Resources"};
    const QStringList roles = {"start a practice set or a full exam",
                               "pick objectives and levels",
                               "resume an exam later",
                               "read every question and answer",
                               "the questions you marked",
                               "results by exam, objective, question",
                               "your own note per question",
                               "guides, tips and reading"};
    const qreal width = (size.width() - 20) / 4.0;
    for (int i = 0; i < tabs.size(); ++i) {
        const int row = i / 4;
        const qreal x = 10 + (i % 4) * width;
        const qreal y = 44 + row * 104;
        box(p, QRectF(x + 4, y, width - 8, 34), i == 0 ? kAccent : kPrimary,
            QString::number(i) + "  " + tabs[i], kWhite, 12);
        p.setPen(kInk);
        p.setFont(font(12));
        p.drawText(QRectF(x + 6, y + 40, width - 12, 52), Qt::AlignHCenter | Qt::TextWordWrap,
                   roles[i]);
    }
}

// Questions and minutes of each exam kind, as bars.
void examKinds(QPainter& p, const QSize& size) {
    title(p, QRect(0, 8, size.width(), 24), QStringLiteral("Exam kinds: questions and minutes"));
    struct Kind {
        const char* name;
        int questions;
        int minutes;
        const char* count;
    };
    const std::vector<Kind> kinds = {{"Practice set", 14, 20, "13-14"},
                                     {"Diagnostic", 20, 30, "20"},
                                     {"Trial", 30, 45, "30"},
                                     {"Final", 30, 45, "30"},
                                     {"Exhaustive", 40, 60, "40"}};
    const int left = 110;
    const qreal scale = (size.width() - left - 100) / 60.0;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const qreal y = 46 + static_cast<qreal>(i) * 40;
        p.setPen(kInk);
        p.setFont(font(13, true));
        p.drawText(QRectF(8, y, left - 14, 30), Qt::AlignRight | Qt::AlignVCenter, kinds[i].name);
        p.setPen(Qt::NoPen);
        p.setBrush(kPrimary);
        p.drawRect(QRectF(left, y + 2, kinds[i].questions * scale, 12));
        p.setBrush(kAccent);
        p.drawRect(QRectF(left, y + 16, kinds[i].minutes * scale, 12));
        p.setPen(kInk);
        p.setFont(font(11));
        p.drawText(QPointF(left + kinds[i].questions * scale + 5, y + 13),
                   QString::fromLatin1(kinds[i].count) + " questions");
        p.drawText(QPointF(left + kinds[i].minutes * scale + 5, y + 27),
                   QString::number(kinds[i].minutes) + " min");
    }
}

// The OSI reference model beside the TCP/IP model, with protocols of each layer.
void layerModels(QPainter& p, const QSize& size) {
    title(p, QRect(0, 6, size.width(), 24), QStringLiteral("OSI and TCP/IP layers"));
    const QStringList osi = {"7 Application", "6 Presentation", "5 Session", "4 Transport",
                             "3 Network",     "2 Data Link",    "1 Physical"};
    const qreal top = 36;
    const qreal row = 30;
    for (int i = 0; i < osi.size(); ++i)
        box(p, QRectF(10, top + i * row, 150, row - 4), kPrimary, osi[i], kWhite, 12);
    const auto tcpip = [&](int first, int last, const QString& name, const QString& examples) {
        const QRectF rect(180, top + first * row, 130, (last - first + 1) * row - 4);
        box(p, rect, kAccent, name, kWhite, 12);
        p.setPen(kInk);
        p.setFont(font(11));
        p.drawText(QRectF(320, rect.top(), size.width() - 326, rect.height()),
                   Qt::AlignVCenter | Qt::TextWordWrap, examples);
    };
    tcpip(0, 2, "Application", "HTTP, HTTPS, DNS, DHCP, SSH, SMTP, SNMP");
    tcpip(3, 3, "Transport", "TCP, UDP (ports)");
    tcpip(4, 4, "Internet", "IPv4, IPv6, ICMP");
    tcpip(5, 6, "Network Access", "Ethernet, 802.11 Wi-Fi, ARP; frames, MAC addresses");
}

// 192.168.10.0/24 split into four /26 subnets.
void subnets(QPainter& p, const QSize& size) {
    title(p, QRect(0, 6, size.width(), 24), QStringLiteral("192.168.10.0/24 as four /26 subnets"));
    const QStringList ranges = {".0 - .63", ".64 - .127", ".128 - .191", ".192 - .255"};
    const QStringList hosts = {".1 - .62", ".65 - .126", ".129 - .190", ".193 - .254"};
    const qreal width = (size.width() - 20) / 4.0;
    box(p, QRectF(10, 36, size.width() - 20, 30), kPrimaryDark,
        QStringLiteral("/24: 256 addresses, mask 255.255.255.0"), kWhite, 13);
    for (int i = 0; i < 4; ++i) {
        const QRectF rect(10 + i * width + 2, 80, width - 4, 64);
        box(p, rect, i % 2 ? kPrimaryLight : kAccentLight,
            QStringLiteral("/26 #%1\n%2").arg(i + 1).arg(ranges[i]), kInk, 12);
        p.setPen(kInk);
        p.setFont(font(11));
        p.drawText(QRectF(rect.left(), 150, rect.width(), 32), Qt::AlignHCenter | Qt::TextWordWrap,
                   QStringLiteral("hosts %1").arg(hosts[i]));
    }
    p.setFont(font(12, true));
    p.setPen(kPrimaryDark);
    p.drawText(QRectF(10, 186, size.width() - 20, 40), Qt::AlignHCenter | Qt::TextWordWrap,
               QStringLiteral("mask 255.255.255.192: 64 addresses, 62 usable hosts each"));
}

// The study cycle the program is built for.
void studyCycle(QPainter& p, const QSize& size) {
    title(p, QRect(0, 6, size.width(), 24), QStringLiteral("A study cycle that works"));
    const QPointF centre(size.width() / 2.0, 138);
    const qreal rx = size.width() / 2.0 - 90;
    const qreal ry = 78;
    const QStringList steps = {"Take an exam", "Read the evaluation", "Review wrong answers",
                               "Study weak objectives"};
    std::vector<QPointF> points;
    for (int i = 0; i < 4; ++i) {
        const qreal angle = (i - 1) * std::numbers::pi / 2;
        points.emplace_back(centre.x() + rx * std::cos(angle), centre.y() + ry * std::sin(angle));
    }
    for (int i = 0; i < 4; ++i) {
        const QPointF from = points[static_cast<std::size_t>(i)];
        const QPointF to = points[static_cast<std::size_t>((i + 1) % 4)];
        const QPointF gap = (to - from) * 0.28;
        arrow(p, from + gap, to - gap, kPrimaryDark);
    }
    for (int i = 0; i < 4; ++i) {
        const QPointF at = points[static_cast<std::size_t>(i)];
        box(p, QRectF(at.x() - 75, at.y() - 19, 150, 38), i == 0 ? kAccent : kPrimary, steps[i],
            kWhite, 12);
    }
}

// The TCP three-way handshake.
void handshake(QPainter& p, const QSize& size) {
    title(p, QRect(0, 6, size.width(), 24), QStringLiteral("TCP three-way handshake"));
    const qreal left = 90;
    const qreal right = size.width() - 90.0;
    box(p, QRectF(left - 60, 34, 120, 28), kPrimary, QStringLiteral("Client"));
    box(p, QRectF(right - 60, 34, 120, 28), kPrimary, QStringLiteral("Server :443"));
    p.setPen(QPen(kPrimaryLight, 2, Qt::DashLine));
    p.drawLine(QPointF(left, 64), QPointF(left, size.height() - 10.0));
    p.drawLine(QPointF(right, 64), QPointF(right, size.height() - 10.0));
    const auto message = [&](qreal y, bool toServer, const QString& text) {
        const QPointF a(toServer ? left : right, y);
        const QPointF b(toServer ? right : left, y + 26);
        arrow(p, a, b, kAccent);
        p.setPen(kInk);
        p.setFont(font(12, true));
        p.drawText(QRectF(left + 10, y - 10, right - left - 20, 18), Qt::AlignHCenter, text);
    };
    message(80, true, QStringLiteral("SYN  seq=x"));
    message(124, false, QStringLiteral("SYN-ACK  seq=y, ack=x+1"));
    message(168, true, QStringLiteral("ACK  ack=y+1"));
}

// Where the standards behind the objectives come from.
void standards(QPainter& p, const QSize& size) {
    title(p, QRect(0, 6, size.width(), 24), QStringLiteral("Who writes the standards"));
    struct Body {
        const char* name;
        const char* documents;
        QColor colour;
    };
    const std::vector<Body> bodies = {
        {"IETF", "RFCs: IP, TCP, UDP, DNS, DHCP, OSPF, BGP, TLS", kPrimary},
        {"IEEE 802", "802.3 Ethernet, 802.1Q VLANs, 802.1X, 802.11", kAccent},
        {"Wi-Fi Alliance", "WPA2, WPA3 certification", kPrimaryDark},
        {"NIST", "security guides (SP 800 series)", kPrimaryLight}};
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        const qreal y = 38 + static_cast<qreal>(i) * 46;
        box(p, QRectF(10, y, 140, 38), bodies[i].colour, bodies[i].name,
            bodies[i].colour == kPrimaryLight ? kInk : kWhite);
        arrow(p, QPointF(154, y + 19), QPointF(184, y + 19));
        p.setPen(kInk);
        p.setFont(font(12));
        p.drawText(QRectF(192, y, size.width() - 198, 38), Qt::AlignVCenter | Qt::TextWordWrap,
                   bodies[i].documents);
    }
}

bool draw(const QString& path, const QSize& size,
          const std::function<void(QPainter&, const QSize&)>& painter) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kWhite);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setPen(QPen(kPanel, 2));
        p.drawRect(QRectF(1, 1, size.width() - 2, size.height() - 2));
        painter(p, size);
    }
    if (image.save(path, "PNG")) return true;
    std::fprintf(stderr, "docpictures: cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: docpictures RESOURCES_FOLDER\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QSize wide(520, 260);
    bool ok = draw(folder.filePath("VOZOvi/main-screen.png"), wide, mainScreen);
    ok = draw(folder.filePath("About/exam-kinds.png"), wide, examKinds) && ok;
    ok = draw(folder.filePath("Guides/layers.png"), wide, layerModels) && ok;
    ok = draw(folder.filePath("Guides/subnets.png"), QSize(520, 230), subnets) && ok;
    ok = draw(folder.filePath("Tips/study-cycle.png"), wide, studyCycle) && ok;
    ok = draw(folder.filePath("Guides/handshake.png"), QSize(520, 210), handshake) && ok;
    ok = draw(folder.filePath("Others/standards.png"), QSize(520, 230), standards) && ok;
    return ok ? 0 : 1;
}
