"""Times the SMTP client against Python's smtplib, both sending the same message with a 20 MB
attachment to the same local aiosmtpd server in the same run, and prints the figures.

    /usr/bin/python3 bench/mail/smtp_bench.py BUILD_DIR/bench/mail/bench_mail_smtp [ROUNDS]

The client's time covers connecting, composing (reading and encoding the file), sending and
QUIT; smtplib's covers building the message with the email package and sending it. The
figure is the median of the rounds; the goal is a ratio of at most 1.
"""

import os
import smtplib
import socket
import statistics
import subprocess
import sys
import tempfile
import time
from email.mime.application import MIMEApplication
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText

SIZE = 20 * 1024 * 1024


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_listening(port, server):
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        if server.poll() is not None:
            sys.exit("the aiosmtpd server stopped")
        try:
            socket.create_connection(("127.0.0.1", port), timeout=1).close()
            return
        except OSError:
            time.sleep(0.05)
    sys.exit("the aiosmtpd server did not start")


def smtplib_send(port, path):
    start = time.perf_counter()
    message = MIMEMultipart()
    message["From"] = '"Bench" <reports@example.com>'
    message["To"] = "to@example.com"
    message["Subject"] = "ZUD Reports"
    message.attach(MIMEText("Zud reports", "plain"))
    with open(path, "rb") as f:
        part = MIMEApplication(f.read(), Name="temp.xls")
    part["Content-Disposition"] = 'attachment; filename="temp.xls"'
    message.attach(part)
    with smtplib.SMTP("127.0.0.1", port) as smtp:
        smtp.send_message(message, "reports@example.com", ["to@example.com"])
    return time.perf_counter() - start


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    client = sys.argv[1]
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "temp.xls")
        with open(path, "wb") as f:
            f.write(os.urandom(SIZE))
        port = free_port()
        server = subprocess.Popen(
            [sys.executable, "-m", "aiosmtpd", "-n", "-c", "aiosmtpd.handlers.Sink",
             "-s", str(4 * SIZE), "-l", "127.0.0.1:%d" % port])
        try:
            wait_listening(port, server)
            ours, theirs = [], []
            # Alternating rounds share whatever the machine is doing between them.
            for _ in range(rounds):
                out = subprocess.run([client, "127.0.0.1:%d" % port, path], check=True,
                                     capture_output=True, text=True).stdout
                ours.append(float(out.split()[0]))
                theirs.append(smtplib_send(port, path))
        finally:
            server.terminate()
            server.wait()
    a, b = statistics.median(ours), statistics.median(theirs)
    print("SMTP submission of a 20 MB attachment to local aiosmtpd, median of %d rounds" % rounds)
    print("  quorvel client   %.3f s   (%s)" % (a, " ".join("%.3f" % t for t in ours)))
    print("  Python smtplib   %.3f s   (%s)" % (b, " ".join("%.3f" % t for t in theirs)))
    print("  ratio            %.2f   (goal: at most 1)" % (a / b))


if __name__ == "__main__":
    main()
