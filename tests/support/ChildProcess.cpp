#include "tests/support/ChildProcess.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {
void closeFd(int &Fd)
{
    if (Fd >= 0)
        ::close(Fd);
    Fd = -1;
}

// The environment of this process with the changes, as "NAME=value" texts.
std::vector<QByteArray> environmentWith(const QHash<QString, QString> &Changes)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (auto it = Changes.cbegin(); it != Changes.cend(); ++it) {
        if (it.value().isNull())
            env.remove(it.key());
        else
            env.insert(it.key(), it.value());
    }
    std::vector<QByteArray> texts;
    for (const QString &name : env.keys())
        texts.push_back((name + QLatin1Char('=') + env.value(name)).toLocal8Bit());
    return texts;
}

std::vector<char *> pointersTo(std::vector<QByteArray> &Texts)
{
    std::vector<char *> pointers;
    for (QByteArray &t : Texts)
        pointers.push_back(t.data());
    pointers.push_back(nullptr);
    return pointers;
}

int remainingMs(const QDeadlineTimer &Deadline)
{
    return Deadline.isForever() ? -1 : int(Deadline.remainingTime());
}
} // namespace

ChildProcess::~ChildProcess()
{
    if (Running()) {
        Signal(SIGKILL);
        reap(true);
    }
    closeFd(input_);
    closeFd(outPipe_);
    closeFd(errPipe_);
}

bool ChildProcess::Start(const QString &Program, const QStringList &Args, const Options &Opts)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int inPipe[2] = {-1, -1};
    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    if (Opts.PipeInput && ::pipe2(inPipe, O_CLOEXEC) == 0)
        posix_spawn_file_actions_adddup2(&actions, inPipe[0], 0);
    else
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const QByteArray outputFile = Opts.OutputFile.toLocal8Bit();
    if (!Opts.OutputFile.isEmpty()) {
        posix_spawn_file_actions_addopen(&actions, 1, outputFile.constData(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    } else if (Opts.Capture && ::pipe2(outPipe, O_CLOEXEC) == 0) {
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
        if (Opts.MergeError)
            posix_spawn_file_actions_adddup2(&actions, outPipe[1], 2);
        else if (!Opts.KeepError && ::pipe2(errPipe, O_CLOEXEC) == 0)
            posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    }

    QByteArray program = Program.toLocal8Bit();
    std::vector<QByteArray> argTexts{program};
    for (const QString &a : Args)
        argTexts.push_back(a.toLocal8Bit());
    std::vector<QByteArray> envTexts = environmentWith(Opts.Environment);
    std::vector<char *> argv = pointersTo(argTexts);
    std::vector<char *> envp = pointersTo(envTexts);
    const int failed =
        posix_spawnp(&pid_, program.constData(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    for (int fd : {inPipe[0], outPipe[1], errPipe[1]}) {
        if (fd >= 0)
            ::close(fd);
    }
    input_ = inPipe[1];
    outPipe_ = outPipe[0];
    errPipe_ = errPipe[0];
    if (failed != 0) {
        pid_ = -1;
        error_ = Program + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(failed));
        CloseInput();
        closeFd(outPipe_);
        closeFd(errPipe_);
        return false;
    }
    return true;
}

bool ChildProcess::reap(bool Block)
{
    if (pid_ < 0)
        return true;
    int status = 0;
    pid_t done = 0;
    do
        done = ::waitpid(pid_, &status, Block ? 0 : WNOHANG);
    while (done < 0 && errno == EINTR);
    if (done == 0)
        return false;
    normalExit_ = done > 0 && WIFEXITED(status);
    exitCode_ = normalExit_ ? WEXITSTATUS(status) : -1;
    pid_ = -1;
    return true;
}

bool ChildProcess::Running()
{
    return !reap(false);
}

int ChildProcess::readPipes(int TimeoutMs)
{
    pollfd fds[2];
    QByteArray *into[2];
    int *pipes[2];
    nfds_t count = 0;
    for (auto [fd, buffer] : {std::pair{&outPipe_, &output_}, std::pair{&errPipe_, &errors_}}) {
        if (*fd >= 0) {
            fds[count] = pollfd{*fd, POLLIN, 0};
            into[count] = buffer;
            pipes[count] = fd;
            ++count;
        }
    }
    if (count == 0)
        return -1;
    if (::poll(fds, count, TimeoutMs) <= 0)
        return 0;
    for (nfds_t i = 0; i < count; ++i) {
        if (fds[i].revents == 0)
            continue;
        char chunk[65536];
        const ssize_t n = ::read(*pipes[i], chunk, sizeof chunk);
        if (n > 0)
            into[i]->append(chunk, n);
        else if (n == 0 || errno != EINTR)
            closeFd(*pipes[i]);
    }
    return 1;
}

bool ChildProcess::WaitForFinished(int TimeoutMs)
{
    const QDeadlineTimer deadline(TimeoutMs < 0 ? QDeadlineTimer::Forever
                                                : QDeadlineTimer(TimeoutMs));
    // Its output is read meanwhile, so it never blocks on a full pipe.
    while (Running()) {
        if (deadline.hasExpired())
            return false;
        const int slice = deadline.isForever() ? 20 : std::min(20, remainingMs(deadline));
        if (readPipes(slice) < 0)
            ::usleep(2000);
    }
    // What it wrote before its end; a process it left behind may hold the pipes open.
    while (readPipes(0) > 0) {
    }
    return true;
}

QByteArray ChildProcess::ReadLine(int TimeoutMs)
{
    const QDeadlineTimer deadline(TimeoutMs);
    qsizetype end = -1;
    while ((end = output_.indexOf('\n', lineStart_)) < 0 && !deadline.hasExpired()) {
        if (readPipes(remainingMs(deadline)) < 0)
            break;
    }
    if (end < 0)
        return {};
    const QByteArray line = output_.mid(lineStart_, end - lineStart_);
    lineStart_ = end + 1;
    return line;
}

void ChildProcess::CloseInput()
{
    closeFd(input_);
}

void ChildProcess::Signal(int Number, bool Group)
{
    if (pid_ > 0)
        ::kill(Group ? -pid_ : pid_, Number);
}
