// What the page tests share: the system's Chromium at the control's size, a station file of the
// test's own, the station server's counts, and the frame's three bands.
"use strict";
const assert = require("node:assert/strict");
const { chromium } = require("playwright-core");

const BASE = process.env.SONBREL_PAGE_BASE;
// What the frame shows of the page, in page pixels: [left, top, right, bottom].
const BANDS = { normal: [3, 3, 311, 164], panel: [3, 164, 311, 444], mini: [9, 132, 189, 157] };
// Reconnect quickly so a test sees a whole give-up within seconds.
const FAST = { reconnect: { delays: [0.2, 0.2], stallSeconds: 1.5, connectSeconds: 5 }, nowPlayingSeconds: 1 };

const launch = () => chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
  args: ["--autoplay-policy=no-user-gesture-required"] });

// A fresh page (own storage) with the status text's changes recorded in window.statusLog.
// `stations` replaces the station file (with `settings` over FAST); `init` runs before the
// page's scripts; `reply` answers for the station file instead.
async function open(browser, { stations, settings, init, reply } = {}) {
  const page = await (await browser.newContext({ viewport: { width: 323, height: 574 } })).newPage();
  page.errors = [];
  page.on("pageerror", (error) => page.errors.push(error.message));
  reply = reply || (stations && { contentType: "application/json", body: JSON.stringify({ ...FAST, ...settings, stations }) });
  if (reply) await page.route("**/sonbrel/stations.json", (route) => route.fulfill(reply));
  if (init) await page.addInitScript(init);
  await page.addInitScript(() => {
    window.statusLog = [];
    document.addEventListener("DOMContentLoaded", () => {
      const status = document.getElementById("status");
      new MutationObserver(() => window.statusLog.push(status.textContent)).observe(status, { childList: true });
    });
  });
  await page.goto(`${BASE}/sonbrel/index3.htm`);
  await page.waitForSelector("#stations li");
  return page;
}

const station = (id, urls, extra = {}) => ({ id, name: `台${id}`, frequency: "FM 90.0", region: "测试", urls, ...extra });

// Plays faster than real time, so a few seconds of buffered audio run out quickly.
function fastPlayback() {
  document.addEventListener("DOMContentLoaded", () => { document.getElementById("audio").defaultPlaybackRate = 4; });
}

const serverStatus = async () => (await fetch(`${BASE}/server/status`)).json();
const requests = (status, path) => status.requests[path] || 0;
const openConnections = (status, path) => status.open[path] || 0;

async function waitForServer(check, what, timeoutMs = 10000) {
  const deadline = Date.now() + timeoutMs;
  let status;
  while (Date.now() < deadline) {
    if (check((status = await serverStatus()))) return;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  assert.fail(`${what}; the server saw ${JSON.stringify(status)}`);
}

const waitForStatus = (page, text, timeout = 15000) =>
  page.waitForFunction((t) => document.getElementById("status").textContent.indexOf(t) === 0, text, { timeout });

module.exports = { BANDS, launch, open, station, fastPlayback, serverStatus, waitForServer, requests, openConnections,
  waitForStatus };
