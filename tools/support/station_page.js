// Opens the station page in Debian's Chromium at the browser control's size, its files served
// straight from station/ through the browser's request routing, so no server has to run. The
// station file is the caller's.
"use strict";
const fs = require("node:fs");
const path = require("node:path");
const { chromium } = require("playwright-core");

const ROOT = path.join(__dirname, "../../station");
const ORIGIN = "http://sonbrel.test";
const TYPES = { ".htm": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8", ".css": "text/css", ".mp3": "audio/mpeg" };

const launch = () => chromium.launch({ executablePath: process.env.CHROMIUM || "/usr/bin/chromium" });

async function openStationPage(browser, stationFile, init, initArgument) {
  const page = await (await browser.newContext({ viewport: { width: 323, height: 574 } })).newPage();
  await page.route(`${ORIGIN}/**`, (route) => {
    const wanted = new URL(route.request().url()).pathname;
    if (wanted === "/sonbrel/stations.json") return route.fulfill({ contentType: "application/json", body: JSON.stringify(stationFile) });
    const file = path.join(ROOT, path.normalize(wanted));
    if (!file.startsWith(ROOT + path.sep) || !fs.existsSync(file)) return route.fulfill({ status: 404, body: "" });
    return route.fulfill({ contentType: TYPES[path.extname(file)] || "application/octet-stream", body: fs.readFileSync(file) });
  });
  if (init) await page.addInitScript(init, initArgument);
  await page.goto(`${ORIGIN}/sonbrel/index3.htm`);
  await page.waitForSelector("#stations li.station");
  return page;
}

module.exports = { launch, openStationPage };
