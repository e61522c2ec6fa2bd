// Debian's Chromium, or its Firefox ESR where PARLA_BROWSER says "firefox", headless,
// driven by puppeteer-core (Firefox through WebDriver BiDi), and the service stand-in the
// CTest fixture started: for tests and the benchmark of the greeting page.
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';

// Chromium's own downloads and background connections fail on a closed network; the
// tests run as root, where its sandbox cannot start.
const CHROMIUM_FLAGS = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync',
];

export const VIEWPORT = { width: 1024, height: 768, deviceScaleFactor: 1 };

export const FIREFOX = process.env.PARLA_BROWSER === 'firefox';

// The address of the stand-in whose port the fixture wrote to PARLA_SERVICE_PORT_FILE.
export function siteAddress() {
  const portFile = process.env.PARLA_SERVICE_PORT_FILE;
  if (!portFile) throw new Error('PARLA_SERVICE_PORT_FILE names no file: start the stand-in with service/stand-in.sh');
  return `http://127.0.0.1:${readFileSync(portFile, 'utf8').trim()}`;
}

// Posts the greeting as the maker uploads it: CR LF line ends, the last one included.
export async function uploadGreeting(site, { version = 1, recipient = 'Anna', sender = 'Ben', actions }) {
  const lines = [`Parlacard File Version : ${version}`, recipient, 'anna@example.com', sender, 'ben@example.com', '', ...actions];
  const body = Buffer.from(lines.map((line) => `${line}\r\n`).join(''), 'latin1');
  const response = await fetch(`${site}/upload.asp`, { method: 'POST', body });
  const id = (await response.text()).split('\r\n')[0];
  if (!/^\d+$/.test(id)) throw new Error(`the stand-in stored no greeting: ${id}`);
  return id;
}

// With a proxy ("127.0.0.1:port"), the browser reaches the site by its own name through
// the stand-in, as the program does, and the addresses in its pages and mail work as they are.
export async function launchBrowser({ proxy } = {}) {
  const profile = mkdtempSync(join(tmpdir(), FIREFOX ? 'parlacard-firefox-' : 'parlacard-chromium-'));
  const browser = FIREFOX ? await launchFirefox(profile, proxy) : await puppeteer.launch({
    executablePath: process.env.PARLA_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: proxy ? [...CHROMIUM_FLAGS, `--proxy-server=http://${proxy}`] : CHROMIUM_FLAGS,
    defaultViewport: VIEWPORT,
  });
  return {
    browser,
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Firefox's own updates, reports and first-run pages reach out to the network, which
// is closed here.
function launchFirefox(profile, proxy) {
  const [host, port] = proxy ? proxy.split(':') : [];
  return puppeteer.launch({
    browser: 'firefox',
    protocol: 'webDriverBiDi',
    executablePath: process.env.PARLA_FIREFOX || '/usr/bin/firefox-esr',
    headless: true,
    userDataDir: profile,
    defaultViewport: VIEWPORT,
    extraPrefsFirefox: {
      'app.update.enabled': false,
      'datareporting.policy.dataSubmissionEnabled': false,
      'toolkit.telemetry.enabled': false,
      'browser.shell.checkDefaultBrowser': false,
      'network.captive-portal-service.enabled': false,
      'network.connectivity-service.enabled': false,
      ...(proxy ? { 'network.proxy.type': 1, 'network.proxy.http': host, 'network.proxy.http_port': Number(port),
        'network.proxy.allow_hijacking_localhost': true, 'network.proxy.no_proxies_on': '' } : {}),
    },
  });
}
