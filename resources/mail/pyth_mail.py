#!/usr/bin/python3
# Tessaline Card's mail sender: hands one message to an SMTP server.
#
# Arguments: sender, server, port, sender (login name), recipient, subject, body, "Y" for SSL from the
# first byte (anything else: plain, upgraded with STARTTLS when the server offers it), then the files to
# attach. Standard input: the password on the first line; the rest is ignored.
# Exit status: 0 once the server has taken the message, 1 for any failure, 2 for wrong arguments.
import mimetypes
import os
import smtplib
import socket
import sys
from email.message import EmailMessage
from email.utils import formatdate, make_msgid

# A server that stops answering ends the send instead of hanging it.
NETWORK_TIMEOUT_SECONDS = 20


def read_password():
    data = sys.stdin.buffer.read()
    return data.split(b"\n", 1)[0].decode("ascii", "replace").rstrip("\r")


def build_message(sender, recipient, subject, body, attachments):
    message = EmailMessage()
    message["From"] = sender
    message["To"] = recipient
    message["Subject"] = subject
    message["Date"] = formatdate(localtime=True)
    message["Message-ID"] = make_msgid()
    message.set_content(body)
    for path in attachments:
        kind, encoding = mimetypes.guess_type(path)
        if kind is None or encoding is not None:
            kind = "application/octet-stream"
        maintype, subtype = kind.split("/", 1)
        with open(path, "rb") as handle:
            data = handle.read()
        message.add_attachment(data, maintype=maintype, subtype=subtype, filename=os.path.basename(path))
    return message


def connect(server, port, use_ssl):
    if use_ssl:
        return smtplib.SMTP_SSL(server, port, timeout=NETWORK_TIMEOUT_SECONDS)
    connection = smtplib.SMTP(server, port, timeout=NETWORK_TIMEOUT_SECONDS)
    connection.ehlo()
    if connection.has_extn("starttls"):
        connection.starttls()
        connection.ehlo()
    return connection


def send(arguments, password):
    sender, server, port_text, login, recipient, subject, body, ssl_flag = arguments[:8]
    attachments = arguments[8:]
    port = int(port_text.strip())
    recipient = recipient.strip()
    message = build_message(sender.strip(), recipient, subject, body, attachments)
    connection = connect(server.strip(), port, ssl_flag == "Y")
    try:
        connection.ehlo_or_helo_if_needed()
        if password and connection.has_extn("auth"):
            connection.login(login.strip(), password)
        connection.send_message(message, from_addr=sender.strip(), to_addrs=[recipient])
    finally:
        try:
            connection.quit()
        except (smtplib.SMTPException, OSError):
            connection.close()


def main():
    if len(sys.argv) < 9:
        sys.stderr.write("mail: expected sender, server, port, login, recipient, subject, body and SSL flag\n")
        return 2
    password = read_password()
    try:
        send(sys.argv[1:], password)
    except (smtplib.SMTPException, OSError, socket.timeout, ValueError, UnicodeError) as error:
        sys.stderr.write("mail: %s\n" % error)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
