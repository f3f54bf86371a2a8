// The tips banner, the manual and the maker's link.

#include <QCoreApplication>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <utility>

#include "app/addresses.h"
#include "app/build_facts.h"
#include "app/form1.h"
#include "app/manual_path.h"
#include "app/tips.h"

namespace app {
namespace {

// The whole download, connection included, ends within this time; a tips file is small.
constexpr int kTipsTimeoutMs = 10000;

QString TipsFilePath() {
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + kTipsFileName;
}

QUrl TipsAddress() {
  const QString overridden = qEnvironmentVariable("TESSALY_TIPS_URL");
  return QUrl(overridden.isEmpty() ? kTipsAddress : overridden);
}

}  // namespace

// One GET that never blocks the window. `done` gets the body, empty after any error or
// the timeout; the download counts as running until `done` has returned.
class TForm1::TipsDownload : public QObject {
 public:
  explicit TipsDownload(QObject* parent) : QObject(parent) {}

  bool Running() const { return reply_ != nullptr; }

  void Start(const QUrl& address, std::function<void(const QByteArray&)> done) {
    if (network_ == nullptr) {
      QNetworkProxyFactory::setUseSystemConfiguration(true);
      network_ = new QNetworkAccessManager(this);
    }
    QNetworkRequest request(address);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("URLCheck"));
    // Tips change on the server; a cached copy would show old ones.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    QNetworkReply* reply = network_->get(request);
    reply_ = reply;
    // A deadline for the whole transfer, not only for a silent connection: a server
    // that trickles bytes must not keep a script's tick waiting.
    QTimer::singleShot(kTipsTimeoutMs, reply, [reply] { reply->abort(); });
    connect(reply, &QNetworkReply::finished, this, [this, reply, done = std::move(done)] {
      done(reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray());
      reply_ = nullptr;
      reply->deleteLater();
    });
  }

 private:
  QNetworkAccessManager* network_ = nullptr;
  QNetworkReply* reply_ = nullptr;
};

void TForm1::FireTimer1() { Timer1Timer(); }

bool TForm1::TipsDownloadPending() const {
  return tipsDownload_ != nullptr && tipsDownload_->Running();
}

void TForm1::Timer1Timer() {
  if (!TipsFetched) {
    TipsFetched = true;
    if (tipsDownload_ == nullptr) tipsDownload_ = new TipsDownload(this);
    // The first tip follows when the download ends, however it ends.
    tipsDownload_->Start(TipsAddress(), [this](const QByteArray& body) { TipsDownloaded(body); });
    return;
  }
  ShowRandomTip();
}

// A non-empty body replaces the tips file; a failed or empty download leaves the file
// from an earlier run in place, so its tips still show. The file is only a cache: when
// the program's folder cannot be written, the downloaded tips are shown all the same
// and nothing is reported.
void TForm1::TipsDownloaded(const QByteArray& body) {
  const QString path = TipsFilePath();
  if (!body.isEmpty()) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
      file.write(body);
      file.commit();
    }
    TipsList = TipsLines(body);
  } else if (QFile file(path); file.open(QIODevice::ReadOnly)) {
    TipsList = TipsLines(file.readAll());
  }
  ShowRandomTip();
}

// Any line may come up, the one shown last included. An empty list leaves the banner
// as it is.
void TForm1::ShowRandomTip() {
  if (TipsList.isEmpty()) return;
  const auto pick = host_.PickRandom(static_cast<std::size_t>(TipsList.size()));
  const Tip tip = ParseTip(TipsList[static_cast<qsizetype>(pick)]);
  lblTips->setText(TipCaption(tip));
  lblTips->setToolTip(tip.text);
  TipLink = tip.link;
}

// Where neither a build folder nor a package put the manual, its bare name is opened from
// the current folder, as a shell would.
void TForm1::SpeedButton1Click() {
  const QString manual = FindManual(QCoreApplication::applicationDirPath());
  dialogs_.OpenWithShell(manual.isEmpty() ? QString::fromUtf8(kManualFileName) : manual);
}

void TForm1::Label11Click() { dialogs_.OpenWithShell(kMakerAddress); }

void TForm1::lblTipsClick() {
  if (!TipLink.isEmpty()) dialogs_.OpenWithShell(TipLink);
}

}  // namespace app
