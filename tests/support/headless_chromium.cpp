#include "support/headless_chromium.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <array>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

extern char** environ;

namespace tovak::testing {
namespace {

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}
std::string S(const QJsonValue& v) {
  return v.toString().toStdString();
}

// A value as JSON text; a string's JSON is also its JavaScript literal.
std::string JsonText(const QJsonValue& value) {
  const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
  return array.mid(1, array.size() - 2).toStdString();
}

bool IsExecutable(const std::string& path) {
  return access(path.c_str(), X_OK) == 0;
}

std::string DescribeStatus(int status) {
  if (WIFEXITED(status)) return "exited with status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "was killed by signal " + std::to_string(WTERMSIG(status));
  return "stopped";
}

// Waits for the child to end, up to a time; its status, or nothing while it still runs.
std::optional<int> Reap(pid_t pid, int waitMs) {
  const long long deadline = NowMs() + waitMs;
  for (;;) {
    int status = 0;
    const pid_t got = waitpid(pid, &status, WNOHANG);
    if (got == pid) return status;
    if (got < 0 && errno != EINTR) return 0;  // not our child any more: nothing left to wait for
    if (NowMs() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

struct KeyInfo {
  std::string key, code;
  int keyCode;
  std::string text;
};

std::optional<KeyInfo> DescribeKey(const std::string& key) {
  static const std::array<KeyInfo, 14> kNamed{{
      {" ", "Space", 32, " "},
      {"Enter", "Enter", 13, "\r"},
      {"Escape", "Escape", 27, ""},
      {"Backspace", "Backspace", 8, ""},
      {"Tab", "Tab", 9, ""},
      {"Delete", "Delete", 46, ""},
      {"Home", "Home", 36, ""},
      {"End", "End", 35, ""},
      {"PageUp", "PageUp", 33, ""},
      {"PageDown", "PageDown", 34, ""},
      {"ArrowLeft", "ArrowLeft", 37, ""},
      {"ArrowUp", "ArrowUp", 38, ""},
      {"ArrowRight", "ArrowRight", 39, ""},
      {"ArrowDown", "ArrowDown", 40, ""},
  }};
  for (const KeyInfo& info : kNamed)
    if (info.key == key) return info;
  if (key.size() != 1) return std::nullopt;
  const char c = key[0];
  if (std::isalpha(static_cast<unsigned char>(c))) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return KeyInfo{key, std::string("Key") + upper, upper, key};
  }
  if (std::isdigit(static_cast<unsigned char>(c))) return KeyInfo{key, "Digit" + key, c, key};
  return std::nullopt;
}

}  // namespace

std::optional<std::string> HeadlessChromium::FindChromium() {
  // A browser named on purpose is used even when it cannot run, so the tests fail rather than skip.
  if (const char* chosen = std::getenv("TOVAK_CHROMIUM"); chosen && *chosen) return chosen;
  const char* path = std::getenv("PATH");
  if (!path) return std::nullopt;
  for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
    std::istringstream dirs(path);
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
      if (dir.empty()) continue;
      const std::string candidate = dir + "/" + name;
      if (IsExecutable(candidate)) return candidate;
    }
  }
  return std::nullopt;
}

HeadlessChromium::HeadlessChromium(const std::string& executable,
                                   const std::vector<std::string>& extraFlags) {
  try {
    Launch(executable, extraFlags);
    Attach();
  } catch (...) {
    Stop();
    throw;
  }
}

void HeadlessChromium::Launch(const std::string& executable,
                              const std::vector<std::string>& extraFlags) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tovak-chromium-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw BrowserError("cannot make a folder for the browser profile");
  dir_ = pattern;
  std::filesystem::create_directory(dir_ / "tmp");

  std::vector<std::string> args = {
      executable,
      "--headless",
      "--remote-debugging-pipe",
      "--user-data-dir=" + (dir_ / "profile").string(),
      "--no-first-run",
      "--no-default-browser-check",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-default-apps",
      "--disable-extensions",
      "--disable-sync",
      "--disable-breakpad",
      "--metrics-recording-only",
      "--password-store=basic",
      // Sound goes to a silent output that keeps real time, whether or not there is a sound server.
      "--disable-audio-output",
      "--window-size=1024,768",
  };
  // Chromium refuses to run as root with its sandbox, which containers and CI often are.
  if (geteuid() == 0) args.push_back("--no-sandbox");
  args.insert(args.end(), extraFlags.begin(), extraFlags.end());
  args.push_back("about:blank");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  // Whatever the browser puts in the temporary folder goes in ours, and goes with it.
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "TMPDIR=", 7) != 0) env.emplace_back(*e);
  env.push_back("TMPDIR=" + (dir_ / "tmp").string());
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);

  // Sockets rather than pipes: send() with MSG_NOSIGNAL reports a dead browser as an error
  // instead of a SIGPIPE that would end the test program.
  int commands[2], replies[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, commands) != 0 ||
      socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, replies) != 0)
    throw BrowserError("cannot make the pipes to the browser");
  // Above 4, so that putting them on 3 and 4 in the child cannot overwrite one with the other.
  const int browserIn = fcntl(commands[1], F_DUPFD_CLOEXEC, 10);
  const int browserOut = fcntl(replies[1], F_DUPFD_CLOEXEC, 10);
  close(commands[1]);
  close(replies[1]);
  toBrowser_ = commands[0];
  fromBrowser_ = replies[0];
  const std::string logPath = (dir_ / "stderr.log").string();
  const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);

  const std::string cannotRun = "cannot run " + executable + "\n";
  pid_ = fork();
  const int forkError = errno;
  if (pid_ == 0) {
    // Only async-signal-safe calls from here on: the test program may have threads.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The standard streams first: the log and /dev/null may sit on 3 or 4 themselves.
    dup2(null, 0);
    dup2(log, 1);
    dup2(log, 2);
    dup2(browserIn, 3);
    dup2(browserOut, 4);
    execve(argv[0], argv.data(), envp.data());
    if (write(2, cannotRun.data(), cannotRun.size()) < 0) _exit(126);
    _exit(127);
  }
  if (pid_ > 0) setpgid(pid_, pid_);  // also here, so it holds before the first kill(-pid)
  close(browserIn);
  close(browserOut);
  close(log);
  close(null);
  if (pid_ < 0) throw BrowserError("cannot start the browser: " + std::string(strerror(forkError)));
  fcntl(toBrowser_, F_SETFL, fcntl(toBrowser_, F_GETFL) | O_NONBLOCK);
  fcntl(fromBrowser_, F_SETFL, fcntl(fromBrowser_, F_GETFL) | O_NONBLOCK);
}

void HeadlessChromium::Attach() {
  QString target;
  const QJsonArray targets =
      Command("Target.getTargets", {}, kDefaultTimeoutMs, false).value("targetInfos").toArray();
  for (const QJsonValue& info : targets)
    if (info["type"].toString() == "page") target = info["targetId"].toString();
  if (target.isEmpty())
    target = Command("Target.createTarget", {{"url", "about:blank"}}, kDefaultTimeoutMs, false)
                 .value("targetId")
                 .toString();
  session_ = S(Command("Target.attachToTarget", {{"targetId", target}, {"flatten", true}},
                       kDefaultTimeoutMs, false)
                   .value("sessionId"));
  for (const char* domain : {"Page", "Runtime", "Log", "Network"})
    Command(std::string(domain) + ".enable", {}, kDefaultTimeoutMs);
  Command("Page.setLifecycleEventsEnabled", {{"enabled", true}}, kDefaultTimeoutMs);
}

HeadlessChromium::~HeadlessChromium() {
  Stop();
}

void HeadlessChromium::Stop() {
  if (pid_ > 0) {
    try {
      Command("Browser.close", {}, 5000, false);
    } catch (const BrowserError&) {
      // It is killed below.
    }
    if (!Reap(pid_, 5000)) {
      kill(-pid_, SIGKILL);
      Reap(pid_, 5000);
    }
    // Helpers the browser started in its group and left behind.
    kill(-pid_, SIGKILL);
    pid_ = -1;
  }
  if (toBrowser_ >= 0) close(toBrowser_);
  if (fromBrowser_ >= 0) close(fromBrowser_);
  toBrowser_ = fromBrowser_ = -1;
  std::error_code ignored;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

std::string HeadlessChromium::StderrTail() const {
  std::ifstream in(dir_ / "stderr.log");
  std::string all{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  constexpr size_t kTail = 2000;
  return all.size() > kTail ? "..." + all.substr(all.size() - kTail) : all;
}

void HeadlessChromium::Died(const std::string& what) {
  std::string how = "closed its pipe";
  if (pid_ > 0) {
    std::optional<int> status = Reap(pid_, 5000);
    if (!status) {
      kill(-pid_, SIGKILL);
      status = Reap(pid_, 5000);
    } else {
      kill(-pid_, SIGKILL);
    }
    if (status) how = DescribeStatus(*status);
    pid_ = -1;
  }
  throw BrowserError("the browser " + how + " while waiting for " + what + "; it wrote:\n" +
                     StderrTail());
}

bool HeadlessChromium::ReadSome(int waitMs, const std::string& what) {
  pollfd fd{fromBrowser_, POLLIN, 0};
  const int ready = poll(&fd, 1, waitMs);
  if (ready < 0 && errno != EINTR) Died(what);
  if (ready <= 0) return false;
  char buffer[65536];
  const ssize_t got = read(fromBrowser_, buffer, sizeof buffer);
  if (got == 0) Died(what);
  if (got < 0) {
    if (errno == EAGAIN || errno == EINTR) return false;
    Died(what);
  }
  received_.append(buffer, static_cast<size_t>(got));
  return true;
}

void HeadlessChromium::WriteMessage(const std::string& bytes, long long deadlineMs,
                                    const std::string& what) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n =
        send(toBrowser_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) Died(what);
    const long long left = deadlineMs - NowMs();
    if (left <= 0) throw BrowserError("timed out sending " + what);
    // While the browser cannot take more it may be waiting for us to read what it sent.
    std::array<pollfd, 2> fds{{{toBrowser_, POLLOUT, 0}, {fromBrowser_, POLLIN, 0}}};
    poll(fds.data(), fds.size(), static_cast<int>(std::min<long long>(left, 100)));
    if (fds[1].revents) ReadSome(0, what);
  }
}

bool HeadlessChromium::ReadUntil(long long deadlineMs, const std::function<bool()>& done,
                                 const std::string& what) {
  for (;;) {
    for (size_t end; (end = received_.find('\0')) != std::string::npos;) {
      const QJsonObject message =
          QJsonDocument::fromJson(QByteArray(received_.data(), static_cast<qsizetype>(end)))
              .object();
      received_.erase(0, end + 1);
      if (!message.contains("id"))
        Handle(message);
      else if (message["id"].toInt() == awaited_)
        reply_ = message;
      // Other replies answer calls that timed out before.
    }
    if (done()) return true;
    if (crashed_) throw BrowserError("the page crashed while waiting for " + what);
    const long long left = deadlineMs - NowMs();
    if (left <= 0) return false;
    ReadSome(static_cast<int>(left), what);
  }
}

QJsonObject HeadlessChromium::Command(const std::string& method, const QJsonObject& params,
                                      int timeoutMs, bool toPage) {
  const long long deadline = NowMs() + timeoutMs;
  const int id = nextId_++;
  QJsonObject message{{"id", id}, {"method", Q(method)}, {"params", params}};
  if (toPage) message["sessionId"] = Q(session_);
  WriteMessage(QJsonDocument(message).toJson(QJsonDocument::Compact).toStdString() + '\0', deadline,
               method);
  awaited_ = id;
  reply_.reset();
  if (!ReadUntil(
          deadline, [this] { return reply_.has_value(); }, "the reply to " + method))
    throw BrowserError("timed out after " + std::to_string(timeoutMs) +
                       " ms waiting for the reply to " + method + "; the browser wrote:\n" +
                       StderrTail());
  if (reply_->contains("error"))
    throw BrowserError(method + " failed: " + S(reply_->value("error")["message"]));
  return reply_->value("result").toObject();
}

void HeadlessChromium::Handle(const QJsonObject& message) {
  const QString method = message["method"].toString();
  const QJsonObject params = message["params"].toObject();
  if (method == "Page.lifecycleEvent") {
    if (params["name"] == "load") loaded_.insert(S(params["loaderId"]));
  } else if (method == "Runtime.consoleAPICalled") {
    std::string text;
    for (const QJsonValue& arg : params["args"].toArray()) {
      if (!text.empty()) text += ' ';
      if (arg["value"].isString())
        text += S(arg["value"]);
      else if (arg.toObject().contains("value"))
        text += JsonText(arg["value"]);
      else
        text += S(arg["description"].isString() ? arg["description"] : arg["type"]);
    }
    messages_.push_back({"console", S(params["type"]), text});
  } else if (method == "Log.entryAdded") {
    const QJsonObject entry = params["entry"].toObject();
    messages_.push_back({S(entry["source"]), S(entry["level"]), S(entry["text"])});
  } else if (method == "Runtime.exceptionThrown") {
    const QJsonObject details = params["exceptionDetails"].toObject();
    const QJsonValue description = details["exception"]["description"];
    exceptions_.push_back(S(description.isString() ? description : details["text"]));
  } else if (method == "Network.requestWillBeSent") {
    requests_.push_back(S(params["request"]["url"]));
  } else if (method == "Inspector.targetCrashed" ||
             (method == "Target.detachedFromTarget" && S(params["sessionId"]) == session_)) {
    crashed_ = true;
  }
}

void HeadlessChromium::Navigate(const std::string& url, int timeoutMs) {
  const long long deadline = NowMs() + timeoutMs;
  const QJsonObject result = Command("Page.navigate", {{"url", Q(url)}}, timeoutMs);
  if (result.contains("errorText"))
    throw BrowserError("cannot load " + url + ": " + S(result["errorText"]));
  const std::string loader = S(result["loaderId"]);
  if (loader.empty()) return;  // within the same document: there is no load to wait for
  const std::string what = "the load event of " + url;
  if (!ReadUntil(
          deadline, [&] { return loaded_.contains(loader); }, what))
    throw BrowserError("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what);
}

QJsonValue HeadlessChromium::Evaluate(const std::string& expression, int timeoutMs) {
  const QJsonObject result = Command(
      "Runtime.evaluate",
      {{"expression", Q(expression)}, {"returnByValue", true}, {"awaitPromise", true}}, timeoutMs);
  if (result.contains("exceptionDetails")) {
    const QJsonValue details = result["exceptionDetails"];
    const QJsonValue description = details["exception"]["description"];
    throw BrowserError("`" + expression +
                       "` threw: " + S(description.isString() ? description : details["text"]));
  }
  const QJsonValue value = result["result"];
  if (value["type"] == "undefined") return QJsonValue(QJsonValue::Undefined);
  if (value.toObject().contains("unserializableValue")) return value["unserializableValue"];
  return value["value"];
}

::testing::AssertionResult HeadlessChromium::WaitFor(const std::string& expression, int timeoutMs) {
  const long long deadline = NowMs() + timeoutMs;
  // What the page has not set up yet may throw for a while: that counts as not yet.
  const std::string probe = "(async () => { try { return !!(await (" + expression +
                            ")); } catch (e) { return String(e); } })()";
  std::string threw;
  for (;;) {
    const long long left = deadline - NowMs();
    const QJsonValue value = Evaluate(probe, static_cast<int>(std::max<long long>(left, 1000)));
    if (value.toBool()) return ::testing::AssertionSuccess();
    threw = value.isString() ? S(value) : "";
    if (left <= 0) {
      ::testing::AssertionResult failure = ::testing::AssertionFailure();
      failure << "timed out after " << timeoutMs << " ms waiting for `" << expression << "`";
      if (!threw.empty()) failure << "; it last threw " << threw;
      return failure;
    }
    Pump(static_cast<int>(std::min<long long>(left, 50)));
  }
}

void HeadlessChromium::Pump(int ms) {
  ReadUntil(
      NowMs() + ms, [] { return false; }, "page events");
}

std::pair<double, double> HeadlessChromium::CentreOf(const std::string& cssSelector) {
  const QJsonValue box = Evaluate(R"((() => {
    const e = document.querySelector()" +
                                  JsonText(Q(cssSelector)) + R"();
    if (!e) return null;
    e.scrollIntoView({block: 'center', inline: 'center'});
    const r = e.getBoundingClientRect();
    return [r.left + r.width / 2, r.top + r.height / 2, r.width, r.height];
  })())");
  if (!box.isArray()) throw BrowserError("no element matches `" + cssSelector + "`");
  if (box[2].toDouble() <= 0 || box[3].toDouble() <= 0)
    throw BrowserError("the element `" + cssSelector + "` takes no space on the page");
  return {box[0].toDouble(), box[1].toDouble()};
}

void HeadlessChromium::Click(const std::string& cssSelector) {
  const auto [x, y] = CentreOf(cssSelector);
  ClickAt(x, y);
}

void HeadlessChromium::ClickAt(double x, double y) {
  Command("Input.dispatchMouseEvent", {{"type", "mouseMoved"}, {"x", x}, {"y", y}},
          kDefaultTimeoutMs);
  for (const char* type : {"mousePressed", "mouseReleased"})
    Command("Input.dispatchMouseEvent",
            {{"type", type},
             {"x", x},
             {"y", y},
             {"button", "left"},
             {"buttons", QString(type) == "mousePressed" ? 1 : 0},
             {"clickCount", 1}},
            kDefaultTimeoutMs);
}

void HeadlessChromium::PressKey(const std::string& key) {
  const std::optional<KeyInfo> info = DescribeKey(key);
  if (!info) throw BrowserError("no key is known as `" + key + "`");
  QJsonObject event{{"key", Q(info->key)},
                    {"code", Q(info->code)},
                    {"windowsVirtualKeyCode", info->keyCode},
                    {"nativeVirtualKeyCode", info->keyCode}};
  QJsonObject down = event;
  // Keys that type something go down as keyDown, which also sends their keypress; others don't.
  down["type"] = info->text.empty() ? "rawKeyDown" : "keyDown";
  if (!info->text.empty()) {
    down["text"] = Q(info->text);
    down["unmodifiedText"] = Q(info->text);
  }
  Command("Input.dispatchKeyEvent", down, kDefaultTimeoutMs);
  event["type"] = "keyUp";
  Command("Input.dispatchKeyEvent", event, kDefaultTimeoutMs);
}

void HeadlessChromium::Touch(const std::string& type,
                             const std::vector<std::pair<double, double>>& points) {
  QJsonArray touchPoints;
  for (const auto& [x, y] : points) touchPoints.append(QJsonObject{{"x", x}, {"y", y}});
  Command("Input.dispatchTouchEvent", {{"type", Q(type)}, {"touchPoints", touchPoints}},
          kDefaultTimeoutMs);
}

void HeadlessChromium::Tap(const std::string& cssSelector) {
  const auto [x, y] = CentreOf(cssSelector);
  Touch("touchStart", {{x, y}});
  Touch("touchEnd", {});
}

void HeadlessChromium::Swipe(const std::string& cssSelector, double dx, double dy) {
  const auto [x, y] = CentreOf(cssSelector);
  constexpr int kSteps = 6;
  Touch("touchStart", {{x, y}});
  for (int i = 1; i <= kSteps; ++i)
    Touch("touchMove", {{x + dx * i / kSteps, y + dy * i / kSteps}});
  Touch("touchEnd", {});
}

std::vector<std::string> HeadlessChromium::Errors() const {
  std::vector<std::string> errors;
  for (const BrowserMessage& m : messages_)
    if (m.level == "error" || m.level == "assert")
      errors.push_back(m.source + " " + m.level + ": " + m.text);
  for (const std::string& e : exceptions_) errors.push_back("uncaught " + e);
  return errors;
}

std::vector<std::string> HeadlessChromium::RequestsOtherThan(const std::string& pageUrl) const {
  std::vector<std::string> others;
  for (const std::string& url : requests_)
    if (url != pageUrl && !url.starts_with("data:") && !url.starts_with("blob:"))
      others.push_back(url);
  return others;
}

}  // namespace tovak::testing
