// What the page test files share: a private Icecast with the demo sources on a free loopback port,
// Chromium at the control's size, and the check of the bands the frame shows.
"use strict";
const { before, after } = require("node:test"), assert = require("node:assert/strict");
const fs = require("node:fs"), net = require("node:net"), os = require("node:os");
const { chromium } = require("playwright-core");
const service = require("../../tools/radio/radio.js");

const radio = { sources: {} };
async function startSource(id) {
  radio.sources[id] = service.startSource(radio.config, id);
  await service.waitForMounts(radio.config, [id]);
}

// Registers the service and the browser for the calling test file.
function useRadio() {
  before(async () => {
    radio.dir = fs.mkdtempSync(`${os.tmpdir()}/sonbrel-page-`);
    const port = await new Promise((resolve) => {
      const probe = net.createServer().listen(0, "127.0.0.1", () => { const { port } = probe.address(); probe.close(() => resolve(port)); });
    });
    // A silent source is kept for a minute, so that a stalled one stalls its listeners.
    radio.config = service.configure(radio.dir, `127.0.0.1:${port}`, { sourceTimeout: 60 });
    radio.icecast = service.startIcecast(radio.config);
    await service.waitForMounts(radio.config, []);
    await Promise.all(radio.config.stations.map((s) => startSource(s.id)));
    radio.browser = await chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
      args: ["--autoplay-policy=no-user-gesture-required"] });
  });
  after(async () => {
    await radio.browser.close();
    await Promise.all(Object.values(radio.sources).map((c) => service.stop(c)));
    await service.stop(radio.icecast);
    fs.rmSync(radio.dir, { recursive: true, force: true });
  });
}

// Runs `body` on a fresh page serving `file` as its station file, free of script errors. Status
// changes are kept in window.statusLog, the page's requests in page.requests.
async function withPage({ file, init, clock }, body) {
  const base = radio.config.base, page = await (await radio.browser.newContext({ viewport: { width: 323, height: 574 } })).newPage();
  const errors = [], requests = (page.requests = []);
  page.on("pageerror", (error) => errors.push(error.message)).on("request", (r) => requests.push(r.url().slice(base.length)));
  await page.route("**/sonbrel/stations.json", (route) => route.fulfill({ contentType: "application/json", body: JSON.stringify(file) }));
  if (clock) await page.clock.install();
  if (init) await page.addInitScript(init);
  await page.addInitScript(() => document.addEventListener("DOMContentLoaded", () => {
    const status = document.getElementById("status"), log = (window.statusLog = []);
    new MutationObserver(() => log.push(status.textContent)).observe(status, { childList: true });
  }));
  await page.goto(`${base}/sonbrel/index3.htm`);
  await page.waitForSelector("#stations li.station");
  await body(page);
  assert.deepEqual(errors, []);
  await page.context().close();
}
const noStorage = () => Object.defineProperty(window, "localStorage", { get() { throw new Error("denied"); } });

async function admin(what) {
  const auth = Buffer.from(`admin:${radio.config.passwords.admin}`).toString("base64");
  const response = await fetch(`${radio.config.base}/admin/${what}`, { headers: { Authorization: `Basic ${auth}` } });
  assert.equal(response.status, 200, what);
  return response.text();
}
const listenerIds = async (id) => [...(await admin(`listclients?mount=/${id}`)).matchAll(/<ID>(\d+)<\/ID>/g)].map((m) => m[1]);
async function waitFor(check, what, timeoutMs = 15000) {
  let last;
  for (const end = Date.now() + timeoutMs; Date.now() < end; await new Promise((r) => setTimeout(r, 100))) {
    if ((last = await check())) return last;
  }
  assert.fail(`${what}; last seen ${JSON.stringify(last)}`);
}
const waitForListeners = (id, count) => waitFor(async () => (await listenerIds(id)).length === count, `${count} listeners on /${id}`);
const waitForStatus = (page, text, timeout = 15000) =>
  page.waitForFunction((t) => document.getElementById("status").textContent.indexOf(t) === 0, text, { timeout });

// What the frame shows of the page, [left, top, right, bottom]: nothing visible may straddle a
// band's edge; in a list only whole rows count.
const BANDS = { normal: [3, 3, 311, 164], panel: [3, 164, 311, 444], mini: [9, 132, 189, 157] };
async function checkBands(page, state) {
  const shown = "button, li, span, label, input, select, .panel, .heading, #station-name, #station-info";
  const all = await page.$$eval(shown, (es) => es.flatMap((e) => {
    const r = e.getBoundingClientRect(), list = e.closest("ul") !== e && e.closest("ul")?.getBoundingClientRect();
    return !r.width || !r.height || (list && (r.top >= list.bottom || r.bottom > list.bottom + 0.5)) ? []
      : [[e.id || `${e.tagName}.${e.className}`, r.left, r.top, r.right, r.bottom]];
  }));
  for (const [band, [left, top, right, bottom]] of Object.entries(BANDS)) for (const [name, l, t, r, b] of all) {
    const inside = l >= left - 0.5 && t >= top - 0.5 && r <= right + 0.5 && b <= bottom + 0.5;
    assert.ok(inside || r <= left + 0.5 || l >= right - 0.5 || b <= top + 0.5 || t >= bottom - 0.5,
      `${state}: ${name} [${[l, t, r, b].map(Math.round)}] is cut by the ${band} band`);
  }
}

module.exports = { radio, useRadio, withPage, noStorage, startSource, admin, listenerIds, waitFor, waitForListeners, waitForStatus,
  checkBands };
