#!/usr/bin/env python3
# A loopback SMTP server for the crash tests, with STARTTLS through Python's
# own ssl module and a certificate the test made. It prints its port, then
# serves the given number of sessions and writes every line it receives to
# the record file as "tls=0 ..." or "tls=1 ...", whether it came in clear or
# inside TLS (the message as one "message" record).
#
#   CrashSmtpTlsServer.py CERT KEY RECORD STARTTLS(0|1) SESSIONS
import socket
import ssl
import sys


def main():
    cert, key, record_path, offer_tls, sessions = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4] == "1", int(sys.argv[5])
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(4)
    server.settimeout(60)
    print(server.getsockname()[1], flush=True)
    with open(record_path, "a", encoding="utf-8", errors="replace") as record:
        for _ in range(sessions):
            try:
                conn, _ = server.accept()
            except socket.timeout:
                return
            conn.settimeout(30)
            try:
                serve(conn, context, offer_tls, record)
            except (OSError, ssl.SSLError) as error:
                record.write("tls=? session ended: %s\n" % error)
            finally:
                record.flush()
                conn.close()


def serve(conn, context, offer_tls, record):
    tls = False
    pending = b""

    def read_line():
        nonlocal pending
        while b"\n" not in pending:
            chunk = conn.recv(4096)
            if not chunk:
                raise OSError("the client closed the connection")
            pending += chunk
        line, pending = pending.split(b"\n", 1)
        return line.rstrip(b"\r").decode("utf-8", "replace")

    def say(text):
        conn.sendall(text.encode())

    say("220 tls-test ESMTP\r\n")
    while True:
        line = read_line()
        record.write("tls=%d %s\n" % (tls, line))
        verb = line.split(" ")[0].upper()
        if verb == "EHLO":
            extensions = ["AUTH LOGIN"] + (["STARTTLS"] if offer_tls and not tls else [])
            say("250-tls-test\r\n" + "".join("250-%s\r\n" % e for e in extensions[:-1]) + "250 %s\r\n" % extensions[-1])
        elif verb == "STARTTLS" and offer_tls and not tls:
            say("220 go ahead\r\n")
            try:
                conn = context.wrap_socket(conn, server_side=True)
            except (ssl.SSLError, OSError) as error:
                record.write("tls=0 handshake failed: %s\n" % error)
                return
            tls = True
            pending = b""
        elif verb == "AUTH":
            say("334 VXNlcm5hbWU6\r\n")
            record.write("tls=%d %s\n" % (tls, read_line()))
            say("334 UGFzc3dvcmQ6\r\n")
            record.write("tls=%d %s\n" % (tls, read_line()))
            say("235 ok\r\n")
        elif verb == "DATA":
            say("354 go on\r\n")
            message = []
            while True:
                text = read_line()
                if text == ".":
                    break
                message.append(text)
            record.write("tls=%d message %d lines: %s\n" % (tls, len(message), " | ".join(message[:12])))
            say("250 queued\r\n")
        elif verb == "QUIT":
            say("221 bye\r\n")
            return
        else:
            say("250 ok\r\n")


if __name__ == "__main__":
    main()
