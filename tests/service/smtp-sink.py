#!/usr/bin/python3
"""A real SMTP server on a free loopback port for the service's tests.

    smtp-sink.py FOLDER [--port PORT] [--starttls CERT KEY | --tls CERT KEY] [--login USER PASSWORD]

With --port it listens on that port rather than a free one; with --starttls it offers
STARTTLS and takes no mail before it; with --tls it speaks TLS from the first byte; with
--login it wants that login (over TLS) before any mail.
Writes its port to FOLDER/port once it listens, and every message it accepts to
FOLDER/messages/<n>.eml (with the envelope in <n>.env). How it answers comes from the
file FOLDER/mode, read for every message: "accept" (or no file), "421" (closes the
session: service not available), "450" (mailbox busy), "550" (no such user) or "slow"
(waits two seconds before it accepts)."""
import asyncio
import os
import socket
import ssl
import sys
import threading

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult

folder = sys.argv[1]
options = sys.argv[2:]
messages = os.path.join(folder, 'messages')
os.makedirs(messages, exist_ok=True)
lock = threading.Lock()


def mode():
    try:
        with open(os.path.join(folder, 'mode')) as file:
            return file.read().strip() or 'accept'
    except FileNotFoundError:
        return 'accept'


class Sink:
    async def handle_DATA(self, server, session, envelope):
        answer = mode()
        if answer == '421':
            return '421 4.3.2 Service not available, closing channel'
        if answer == '450':
            return '450 4.2.1 Mailbox busy, try again later'
        if answer == '550':
            return '550 5.1.1 No such user here'
        if answer == 'slow':
            await asyncio.sleep(2)
        with lock:
            number = len([name for name in os.listdir(messages) if name.endswith('.eml')]) + 1
            base = os.path.join(messages, '%05d' % number)
            with open(base + '.env', 'w') as file:
                file.write('%s\n%s\n' % (envelope.mail_from, ','.join(envelope.rcpt_tos)))
            with open(base + '.eml.part', 'wb') as file:
                file.write(envelope.original_content)
            os.rename(base + '.eml.part', base + '.eml')
        return '250 2.0.0 Message accepted'


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


def take(name, count):
    if name not in options:
        return None
    at = options.index(name)
    return options[at + 1:at + 1 + count]


def tls_context(files):
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(files[0], files[1])
    return context


settings = {}
if take('--starttls', 2):
    settings.update(tls_context=tls_context(take('--starttls', 2)), require_starttls=True)
if take('--tls', 2):
    # The whole session is TLS, which the library does not count as STARTTLS: it may offer
    # the login without.
    settings.update(ssl_context=tls_context(take('--tls', 2)), auth_require_tls=False)
if take('--login', 2):
    user, password = (value.encode() for value in take('--login', 2))

    def check_login(server, session, envelope, mechanism, auth_data):
        # Not handled here: the library answers a failure with its 535.
        return AuthResult(success=auth_data.login == user and auth_data.password == password, handled=False)

    settings.update(authenticator=check_login, auth_required=True)

port = int(take('--port', 1)[0]) if take('--port', 1) else free_port()
controller = Controller(Sink(), hostname='127.0.0.1', port=port, **settings)
controller.start()
with open(os.path.join(folder, 'port.part'), 'w') as file:
    file.write('%d\n' % port)
os.rename(os.path.join(folder, 'port.part'), os.path.join(folder, 'port'))
threading.Event().wait()
