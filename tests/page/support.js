// What the page test files share: a private Icecast with the demo sources on a free loopback port,
// Chromium at the control's size, and the check of the bands the frame shows.
"use strict";
const { before, after } = require("node:test");
const assert = require("node:assert/strict");
const fs = require("node:fs");
const net = require("node:net");
const os = require("node:os");
const { chromium } = require("playwright-core");
const service = require("../../tools/radio/radio.js");

const radio = { sources: {} };
async function startIcecast() {
  radio.icecast = service.startIcecast(radio.config);
  await service.waitForMounts(radio.config, []);
}
async function startSource(id) {
  radio.sources[id] = service.startSource(radio.config, id);
  await service.waitForMounts(radio.config, [id]);
}
const stopSource = (id) => service.stop(radio.sources[id]);
const mounts = () => radio.config.stations.map((s) => s.id);

// Registers the service and the browser for the calling test file.
function useRadio() {
  before(async () => {
    radio.dir = fs.mkdtempSync(`${os.tmpdir()}/sonbrel-page-`);
    const port = await new Promise((resolve) => {
      const probe = net.createServer().listen(0, "127.0.0.1", () => { const { port } = probe.address(); probe.close(() => resolve(port)); });
    });
    // A silent source is kept for a minute, so that a stalled one stalls its listeners.
    radio.config = service.configure(radio.dir, `127.0.0.1:${port}`, { sourceTimeout: 60 });
    await startIcecast();
    await Promise.all(mounts().map(startSource));
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
  const errors = [];
  page.on("pageerror", (error) => errors.push(error.message));
  page.requests = [];
  page.on("request", (request) => page.requests.push(request.url().slice(base.length)));
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

const admin = async (what) => {
  const auth = Buffer.from(`admin:${radio.config.passwords.admin}`).toString("base64");
  const response = await fetch(`${radio.config.base}/admin/${what}`, { headers: { Authorization: `Basic ${auth}` } });
  assert.equal(response.status, 200, what);
  return response.text();
};
const listenerIds = async (id) => [...(await admin(`listclients?mount=/${id}`)).matchAll(/<ID>(\d+)<\/ID>/g)].map((m) => m[1]);
const onAir = async (id) => (await service.onAir(radio.config)).find((s) => s.listenurl === `${radio.config.base}/${id}`);

async function waitFor(check, what, timeoutMs = 15000) {
  let last;
  for (const end = Date.now() + timeoutMs; Date.now() < end; await new Promise((r) => setTimeout(r, 100))) {
    if ((last = await check())) return last;
  }
  assert.fail(`${what}; last seen ${JSON.stringify(last)}`);
}
const waitForListeners = (id, count) => waitFor(async () => (await listenerIds(id)).length === count, `${count} listeners on /${id}`);

// What the frame shows of the page, [left, top, right, bottom]: nothing visible may straddle a
// band's edge; in a list only whole rows count.
const BANDS = { normal: [3, 3, 311, 164], panel: [3, 164, 311, 444], mini: [9, 132, 189, 157] };
async function checkBands(page, state) {
  const all = await page.evaluate(() => [...document.querySelectorAll(
    "button, li, span, label, input, select, .panel, .heading, #station-name, #station-info")].flatMap((e) => {
    const r = e.getBoundingClientRect(), list = e.closest("ul") !== e && e.closest("ul")?.getBoundingClientRect();
    if (!r.width || !r.height || (list && (r.top >= list.bottom || r.bottom > list.bottom + 0.5))) return [];
    return [{ name: e.id || `${e.tagName}.${e.className}`, box: [r.left, r.top, r.right, r.bottom] }];
  }));
  for (const [band, [left, top, right, bottom]] of Object.entries(BANDS)) {
    for (const { name, box: [l, t, r, b] } of all) {
      const inside = l >= left - 0.5 && t >= top - 0.5 && r <= right + 0.5 && b <= bottom + 0.5;
      const outside = r <= left + 0.5 || l >= right - 0.5 || b <= top + 0.5 || t >= bottom - 0.5;
      assert.ok(inside || outside, `${state}: ${name} [${[l, t, r, b].map(Math.round)}] is cut by the ${band} band`);
    }
  }
}

module.exports = { radio, useRadio, withPage, noStorage, startIcecast, startSource, stopSource, mounts, admin, listenerIds, onAir,
  waitFor, waitForListeners, checkBands };
