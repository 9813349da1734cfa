#!/usr/bin/env node
// Times the station page with a long station list, in Debian's Chromium at the browser control's
// size: the first render (station file parsed to list laid out) and a keystroke in the filter box
// (the text changing to the filtered list laid out;
// what an input method types arrives without a key press). Prints the median and the slowest of each.
//
//   node tools/benchmarks/page_list_timing.js [stations]      (500 by default)
"use strict";
const { launch, openStationPage } = require("../support/station_page");

const COUNT = Number(process.argv[2] || 500);
const LOADS = 7;
const QUERIES = ["f", "fm", "fm ", "fm 9", "fm ", "fm", "f", "", "广", "广东", "广", "", "ｆｍ１０", "ｆｍ１", "ｆｍ", "ｆ", ""];

const PROVINCES = ["北京", "上海", "天津", "重庆", "河北", "山西", "辽宁", "吉林", "黑龙江", "江苏", "浙江", "安徽", "福建",
  "江西", "山东", "河南", "湖北", "湖南", "广东", "海南", "四川", "贵州", "云南", "陕西", "甘肃", "青海", "内蒙古", "广西",
  "西藏", "宁夏", "新疆"];
const stationFile = {
  stations: Array.from({ length: COUNT }, (_, i) => ({
    id: `s${i}`, name: `${PROVINCES[i % PROVINCES.length]}${["新闻", "音乐", "交通", "文艺", "经济"][i % 5]}广播 ${i}`,
    frequency: `FM ${(87.5 + (i * 7 % 205) / 10).toFixed(1)}`, region: PROVINCES[i % PROVINCES.length], urls: [`/live/s${i}`],
  })),
};

// The page parses the station file first thing and draws the list in the same task.
function watchFirstRender() {
  const parse = JSON.parse;
  JSON.parse = function (text) {
    if (typeof text === "string" && text.length > 10000 && window.renderStart === undefined) {
      window.renderStart = performance.now();
      const list = document.getElementById("stations");
      new MutationObserver((changes, observer) => {
        list.getBoundingClientRect();
        window.renderMs = performance.now() - window.renderStart;
        observer.disconnect();
      }).observe(list, { childList: true });
    }
    return parse.apply(this, arguments);
  };
}

const median = (list) => [...list].sort((a, b) => a - b)[Math.floor(list.length / 2)];
const line = (what, list) => `${what}: median ${median(list).toFixed(1)} ms, slowest ${Math.max(...list).toFixed(1)} ms (${list.length} runs)`;

(async () => {
  const browser = await launch();
  const renders = [], keys = [];
  for (let load = 0; load < LOADS; load++) {
    const page = await openStationPage(browser, stationFile, watchFirstRender);
    await page.waitForFunction(() => window.renderMs !== undefined);
    renders.push(await page.evaluate(() => window.renderMs));
    await page.evaluate(() => {
      const search = document.getElementById("search"), times = (window.keyMs = []);
      let start = 0;
      search.addEventListener("beforeinput", () => { start = performance.now(); }, true);
      search.addEventListener("input", () => {
        document.getElementById("stations").getBoundingClientRect();
        times.push(performance.now() - start);
      });
    });
    await page.focus("#search");
    for (const query of QUERIES) {
      const typed = await page.inputValue("#search");
      // One key per step: a letter added or one taken away.
      if (query.length > typed.length) await page.keyboard.type(query[typed.length]);
      else await page.keyboard.press("Backspace");
    }
    keys.push(...await page.evaluate(() => window.keyMs));
    if (load === 0) process.stdout.write(`${COUNT} stations: ${await page.$$eval("#stations li.station", (r) => r.length)} rows listed\n`);
    await page.context().close();
  }
  await browser.close();
  process.stdout.write(`${line("first render", renders)}\n${line("filter keystroke", keys)}\n`);
})();
