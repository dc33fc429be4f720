#include "core/DemoData.h"

#include "common/SqlText.h"
#include "db/Connection.h"
#include "db/DbError.h"

#include <QCryptographicHash>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>

namespace {

// ---------------------------------------------------------------- vocabulary
// Every text here must be latin2: no en dash, no typographic quotes.

struct PostalCode
{
    const char *code;
    const char *town;
};

// clang-format off
const PostalCode postalCodes[] = {
    {"1011", "Budapest"}, {"1021", "Budapest"}, {"1031", "Budapest"}, {"1041", "Budapest"},
    {"1051", "Budapest"}, {"1061", "Budapest"}, {"1071", "Budapest"}, {"1081", "Budapest"},
    {"1091", "Budapest"}, {"1101", "Budapest"}, {"1111", "Budapest"}, {"1121", "Budapest"},
    {"1131", "Budapest"}, {"1141", "Budapest"}, {"1151", "Budapest"}, {"1161", "Budapest"},
    {"1171", "Budapest"}, {"1181", "Budapest"}, {"1191", "Budapest"}, {"1201", "Budapest"},
    {"1211", "Budapest"}, {"1221", "Budapest"}, {"1231", "Budapest"}, {"2000", "Szentendre"},
    {"2011", "Budakalász"}, {"2013", "Pomáz"}, {"2025", "Visegrád"}, {"2030", "Érd"}, {"2040", "Budaörs"},
    {"2045", "Törökbálint"}, {"2060", "Bicske"}, {"2085", "Pilisvörösvár"}, {"2092", "Budakeszi"},
    {"2100", "Gödöllő"}, {"2111", "Szada"}, {"2112", "Veresegyház"}, {"2120", "Dunakeszi"}, {"2131", "Göd"},
    {"2151", "Fót"}, {"2162", "Őrbottyán"}, {"2170", "Aszód"}, {"2194", "Tura"}, {"2200", "Monor"},
    {"2220", "Vecsés"}, {"2225", "Üllő"}, {"2300", "Ráckeve"}, {"2310", "Szigetszentmiklós"},
    {"2360", "Gyál"}, {"2364", "Ócsa"}, {"2370", "Dabas"}, {"2400", "Dunaújváros"},
    {"2440", "Százhalombatta"}, {"2483", "Gárdony"}, {"2500", "Esztergom"}, {"2600", "Vác"},
    {"2626", "Nagymaros"}, {"2628", "Szob"}, {"2651", "Rétság"}, {"2660", "Balassagyarmat"},
    {"2700", "Cegléd"}, {"2740", "Abony"}, {"2750", "Nagykőrös"}, {"2760", "Nagykáta"}, {"2800", "Tatabánya"},
    {"2840", "Oroszlány"}, {"2890", "Tata"}, {"2900", "Komárom"}, {"3000", "Hatvan"}, {"3060", "Pásztó"},
    {"3070", "Bátonyterenye"}, {"3100", "Salgótarján"}, {"3170", "Szécsény"}, {"3200", "Gyöngyös"},
    {"3300", "Eger"}, {"3360", "Heves"}, {"3390", "Füzesabony"}, {"3400", "Mezőkövesd"}, {"3525", "Miskolc"},
    {"3580", "Tiszaújváros"}, {"3600", "Ózd"}, {"3630", "Putnok"}, {"3700", "Kazincbarcika"},
    {"3780", "Edelény"}, {"3860", "Encs"}, {"3900", "Szerencs"}, {"3910", "Tokaj"}, {"3950", "Sárospatak"},
    {"3980", "Sátoraljaújhely"}, {"4024", "Debrecen"}, {"4060", "Balmazújváros"}, {"4080", "Hajdúnánás"},
    {"4090", "Polgár"}, {"4100", "Berettyóújfalu"}, {"4150", "Püspökladány"}, {"4200", "Hajdúszoboszló"},
    {"4220", "Hajdúböszörmény"}, {"4244", "Újfehértó"}, {"4300", "Nyírbátor"}, {"4400", "Nyíregyháza"},
    {"4440", "Tiszavasvári"}, {"4600", "Kisvárda"}, {"4700", "Mátészalka"}, {"4800", "Vásárosnamény"},
    {"4900", "Fehérgyarmat"}, {"5000", "Szolnok"}, {"5100", "Jászberény"}, {"5130", "Jászapáti"},
    {"5200", "Törökszentmiklós"}, {"5300", "Karcag"}, {"5350", "Tiszafüred"}, {"5400", "Mezőtúr"},
    {"5435", "Martfű"}, {"5440", "Kunszentmárton"}, {"5540", "Szarvas"}, {"5600", "Békéscsaba"},
    {"5630", "Békés"}, {"5650", "Mezőberény"}, {"5700", "Gyula"}, {"5720", "Sarkad"}, {"5900", "Orosháza"},
    {"6000", "Kecskemét"}, {"6041", "Kerekegyháza"}, {"6050", "Lajosmizse"}, {"6060", "Tiszakécske"},
    {"6090", "Kunszentmiklós"}, {"6100", "Kiskunfélegyháza"}, {"6200", "Kiskőrös"}, {"6300", "Kalocsa"},
    {"6400", "Kiskunhalas"}, {"6440", "Jánoshalma"}, {"6500", "Baja"}, {"6600", "Szentes"},
    {"6640", "Csongrád"}, {"6720", "Szeged"}, {"6760", "Kistelek"}, {"6782", "Mórahalom"},
    {"6800", "Hódmezővásárhely"}, {"6900", "Makó"}, {"7000", "Sárbogárd"}, {"7030", "Paks"},
    {"7100", "Szekszárd"}, {"7130", "Tolna"}, {"7143", "Őcsény"}, {"7150", "Bonyhád"}, {"7200", "Dombóvár"},
    {"7300", "Komló"}, {"7400", "Kaposvár"}, {"7500", "Nagyatád"}, {"7570", "Barcs"}, {"7621", "Pécs"},
    {"7700", "Mohács"}, {"7720", "Pécsvárad"}, {"7773", "Villány"}, {"7800", "Siklós"}, {"7815", "Harkány"},
    {"7900", "Szigetvár"}, {"7960", "Sellye"}, {"8000", "Székesfehérvár"}, {"8060", "Mór"},
    {"8100", "Várpalota"}, {"8130", "Enying"}, {"8142", "Úrhida"}, {"8161", "Ősi"}, {"8200", "Veszprém"},
    {"8220", "Balatonalmádi"}, {"8230", "Balatonfüred"}, {"8237", "Tihany"}, {"8258", "Badacsonytomaj"},
    {"8300", "Tapolca"}, {"8330", "Sümeg"}, {"8360", "Keszthely"}, {"8380", "Hévíz"}, {"8400", "Ajka"},
    {"8420", "Zirc"}, {"8440", "Herend"}, {"8460", "Devecser"}, {"8500", "Pápa"}, {"8600", "Siófok"},
    {"8630", "Balatonboglár"}, {"8640", "Fonyód"}, {"8660", "Tab"}, {"8700", "Marcali"},
    {"8790", "Zalaszentgrót"}, {"8800", "Nagykanizsa"}, {"8868", "Letenye"}, {"8900", "Zalaegerszeg"},
    {"8960", "Lenti"}, {"8999", "Zalalövő"}, {"9021", "Győr"}, {"9090", "Pannonhalma"}, {"9100", "Tét"},
    {"9200", "Mosonmagyaróvár"}, {"9300", "Csorna"}, {"9330", "Kapuvár"}, {"9400", "Sopron"},
    {"9500", "Celldömölk"}, {"9600", "Sárvár"}, {"9700", "Szombathely"}, {"9730", "Kőszeg"}, {"9737", "Bük"},
    {"9800", "Vasvár"}, {"9900", "Körmend"}, {"9941", "Őriszentpéter"}, {"9970", "Szentgotthárd"},
};

const char *const surnames[] = {
    "Nagy", "Kovács", "Tóth", "Szabó", "Horváth", "Varga", "Kiss", "Molnár", "Németh", "Farkas", "Balogh",
    "Papp", "Takács", "Juhász", "Lakatos", "Mészáros", "Oláh", "Simon", "Rácz", "Fekete", "Szilágyi", "Török",
    "Fehér", "Balázs", "Gál", "Kis", "Szűcs", "Kocsis", "Pintér", "Fodor", "Szalai", "Sipos", "Magyar",
    "Lukács", "Gulyás", "Biró", "Király", "Katona", "László", "Jakab", "Bogdán", "Sándor", "Boros", "Fazekas",
    "Kelemen", "Antal", "Orosz", "Somogyi", "Fülöp", "Veres", "Vincze", "Hegedűs", "Deák", "Budai", "Bálint",
    "Pál", "Illés", "Vörös", "Szőke", "Fábián", "Vass", "Bognár", "Lengyel", "Bodnár", "Hajdú", "Halász",
    "Máté", "Székely", "Kozma", "Gáspár", "Pásztor", "Bakos", "Dudás", "Major", "Orbán", "Hegyi", "Virág",
    "Barna", "Novák", "Soós", "Tamás", "Nemes", "Pataki", "Balla", "Faragó", "Kerekes", "Borbély", "Barta",
    "Szekeres", "Csonka", "Mezei", "Márton", "Csizmadia", "Erdős", "Győri", "Kőszegi", "Szőllősi", "Őri",
    "Ördög", "Fűzi", "Bőszörményi", "Gyürki", "Ürögdi", "Őze",
};

const char *const maleNames[] = {
    "János", "István", "László", "József", "Zoltán", "Sándor", "Gábor", "Ferenc", "Attila", "Péter", "Tamás",
    "Zsolt", "Tibor", "András", "Csaba", "Imre", "Lajos", "György", "Balázs", "Róbert", "Mihály", "Károly",
    "Béla", "Dávid", "Dániel", "Ádám", "Krisztián", "Norbert", "Gergő", "Levente", "Bence", "Máté", "Ödön",
    "Örs", "Győző", "Előd", "Szilárd", "Jenő", "Dezső", "Rezső", "Elemér", "Kálmán", "Gyula", "Miklós",
    "Endre", "Ernő", "Lőrinc", "Kristóf",
};

const char *const femaleNames[] = {
    "Mária", "Erzsébet", "Katalin", "Éva", "Ilona", "Anna", "Zsuzsanna", "Margit", "Judit", "Ágnes", "Andrea",
    "Erika", "Krisztina", "Mónika", "Edit", "Gabriella", "Szilvia", "Anita", "Eszter", "Tímea", "Nikolett",
    "Réka", "Orsolya", "Dóra", "Boglárka", "Enikő", "Tünde", "Ildikó", "Emőke", "Csilla", "Hajnalka", "Kinga",
    "Petra", "Zsófia", "Lili", "Noémi", "Gyöngyi", "Rozália", "Piroska", "Györgyi", "Bernadett", "Nóra",
    "Csenge", "Ünige", "Őszike",
};

const char *const streets[] = {
    "Kossuth Lajos utca", "Petőfi Sándor utca", "Rákóczi út", "Ady Endre utca", "Dózsa György út",
    "Széchenyi tér", "Arany János utca", "Jókai Mór utca", "Béke utca", "Kölcsey Ferenc utca",
    "Vörösmarty utca", "Bajcsy-Zsilinszky út", "Fő utca", "Szabadság tér", "Hunyadi János utca",
    "Deák Ferenc utca", "Táncsics Mihály utca", "Bem József utca", "Március 15. tér", "Zrínyi Miklós utca",
    "Erkel Ferenc utca", "Liszt Ferenc utca", "Vasút utca", "Kőrösi Csoma Sándor út", "Szőlő utca",
    "Gyümölcsös utca", "Őz utca", "Fűzfa utca", "Tűzoltó utca", "Üllői út", "Erdősor utca", "Damjanich utca",
    "Mező utca", "Iskola utca", "Templom tér",
};

const char *const firmStems[] = {
    "Alfa", "Duna", "Tisza", "Balaton", "Mátra", "Bükk", "Hungária", "Pannon", "Kárpát", "Napfény",
    "Zöldmező", "Kőbánya", "Erdőkert", "Szőlőhegy", "Nyírség", "Őrség", "Délibáb", "Tölgy", "Körös", "Rába",
    "Zala", "Somló", "Hegyalja", "Alföld", "Kunság", "Jászság", "Vértes", "Pilis", "Gemenc", "Hortobágy",
    "Bakony", "Dráva", "Sió", "Ipoly", "Zagyva", "Mecsek",
};

const char *const firmTrades[] = {
    "Építő", "Informatikai", "Mérnöki", "Gépészeti", "Kereskedelmi", "Tanácsadó", "Szállítmányozó",
    "Könyvelő", "Nyomdaipari", "Takarító", "Vagyonvédelmi", "Villanyszerelő", "Fűtéstechnikai", "Ügyviteli",
    "Környezetvédelmi", "Útépítő", "Kertészeti", "Irodatechnikai",
};

const char *const legalForms[] = {"Kft.", "Kft.", "Kft.", "Kft.", "Bt.", "Bt.", "Zrt.", "Kkt."};

// "%1" is a town.
const char *const authorities[] = {
    "%1 Város Önkormányzata", "%1 Polgármesteri Hivatal", "%1 Járási Hivatal",
    "%1 Rendőrkapitányság", "%1 Katasztrófavédelmi Kirendeltség", "%1 Városgazdálkodási Kft.",
    "%1 Vízmű Zrt.", "%1 Általános Iskola",
};
const char *const nationalBodies[] = {
    "Nemzeti Adó- és Vámhivatal", "Magyar Államkincstár", "Magyar Posta Zrt.",
    "Központi Statisztikai Hivatal", "Nemzeti Egészségbiztosítási Alapkezelő", "Közbeszerzési Hatóság",
    "Állami Számvevőszék", "Nemzeti Fejlesztési Ügynökség",
};

// Groups, internal units and the user accounts' departments (csoport_nev is 25 wide).
const char *const departments[] = {
    "Titkárság", "Pénzügy", "Műszaki osztály", "Jogi osztály", "Humánerőforrás", "Ügyfélszolgálat",
    "Beszerzés", "Vezetőség",
};

struct DemoUser
{
    const char *login;
    const char *name;
    bool admin;
    bool masterData;
    bool write; // may insert, edit and delete
    int department;
};

const DemoUser demoUsers[] = {
    {"szabo.peter", "Szabó Péter", true, true, true, 7}, {"kovacs.anna", "Kovács Anna", false, true, true, 0},
    {"toth.erzsebet", "Tóth Erzsébet", false, false, true, 1},
    {"nagy.gabor", "Nagy Gábor", false, true, true, 2},
    {"horvath.zsofia", "Horváth Zsófia", false, false, true, 3},
    {"szucs.gyozo", "Szűcs Győző", false, false, true, 5},
    {"molnar.odon", "Molnár Ödön", false, false, false, 4},
};

const char *const projects[] = {
    "Városháza felújítása", "Óvodabővítés", "Kerékpárút-építés a Duna-parton", "Iskolai digitalizáció",
    "Szennyvízhálózat bővítése", "Közvilágítás korszerűsítése", "Piac rekonstrukciója",
    "Sportcsarnok építése", "Zöldfelület-fejlesztés", "Energetikai korszerűsítés",
    "Belterületi utak felújítása", "Egészségház kialakítása", "Rendezési terv módosítása",
    "Ügyfélkapu bevezetése", "Tűzoltószertár bővítése",
};

const char *const workNumbers[] = {
    "MSZ-101 Általános igazgatás", "MSZ-102 Testületi ügyek", "MSZ-110 Személyügy",
    "MSZ-120 Pénzügyi tervezés", "MSZ-121 Könyvelés", "MSZ-122 Adóügyek", "MSZ-130 Beszerzés",
    "MSZ-140 Vagyongazdálkodás", "MSZ-150 Építésügy", "MSZ-151 Közterület-felügyelet",
    "MSZ-160 Környezetvédelem", "MSZ-170 Szociális ügyek", "MSZ-180 Oktatás, művelődés",
    "MSZ-190 Informatika", "MSZ-200 Jogi ügyek", "MSZ-210 Pályázatok", "MSZ-220 Ügyfélszolgálat",
    "MSZ-230 Műszaki üzemeltetés",
};

// The document types; subjects name theirs by index.
const char *const types[] = {
    "Levél", "Számla", "Szerződés", "Árajánlat", "Megrendelés", "Jegyzőkönyv", "Határozat", "Végzés",
    "Meghívó", "Kérelem", "Panasz", "Értesítés", "Feljegyzés", "Teljesítésigazolás", "Belső utasítás",
    "Jelentés", "Pályázat", "Nyilatkozat", "Fizetési felszólítás", "Hiánypótlás", "Idézés",
};
enum TypeIndex
{
    Level,
    Szamla,
    Szerzodes,
    Arajanlat,
    Megrendeles,
    Jegyzokonyv,
    Hatarozat,
    Vegzes,
    Meghivo,
    Kerelem,
    Panasz,
    Ertesites,
    Feljegyzes,
    Teljesites,
    Utasitas,
    Jelentes,
    Palyazat,
    Nyilatkozat,
    Felszolitas,
    Hianypotlas,
    Idezes
};

const char *const otherGroupings[] = {
    "Sürgős", "Bizalmas", "Tájékoztató jellegű", "Elektronikusan érkezett", "Személyesen átvett",
    "Ajánlott küldemény", "Tértivevényes", "Hivatali kapu", "E-mail", "Futárszolgálat",
};

struct Status
{
    int code;
    const char *name;
    bool done;
    const char *colour;
};
const Status statuses[] = {
    {0, "Új", false, "primary"}, {1, "Folyamatban", false, "info"}, {2, "Válaszra vár", false, "warning"},
    {3, "Jóváhagyásra vár", false, "warning"}, {4, "Hiánypótlás", false, "danger"},
    {5, "Felfüggesztve", false, "secondary"}, {6, "Elintézve", true, "success"}, {7, "Lezárva", true, "dark"},
    {8, "Irattárba helyezve", true, "light"}, {9, "Selejtezhető", true, ""},
};

struct Subject
{
    const char *text; // {projekt} {partner} {varos} {utca} {ev} {honap} {nap} {szam} {negyedev}
    int type;
};

const Subject incomingSubjects[] = {
    {"Árajánlat - {projekt}", Arajanlat}, {"Számla {szam}/{ev} - {partner}", Szamla},
    {"Megrendelés visszaigazolása ({szam}/{ev})", Megrendeles},
    {"Építési engedély iránti kérelem - {varos}, {utca}", Kerelem},
    {"Hiánypótlási felhívás a(z) {szam}/{ev}. számú ügyben", Hianypotlas},
    {"Meghívó lakossági fórumra - {varos}", Meghivo}, {"Panasz a közvilágítás hibája miatt ({utca})", Panasz},
    {"Kérelem közterület-használati engedélyhez", Kerelem},
    {"Szerződéstervezet véleményezésre - {projekt}", Szerzodes},
    {"Fizetési felszólítás - {szam}/{ev}. számú számla", Felszolitas},
    {"Teljesítésigazolás kérése - {projekt}", Teljesites},
    {"Jegyzőkönyv a {honap} {nap}-i helyszíni bejárásról", Jegyzokonyv},
    {"Végzés a(z) {szam}/{ev}. számú eljárásban", Vegzes},
    {"Értesítés adatszolgáltatási kötelezettségről", Ertesites},
    {"Őrzés-védelmi szolgáltatás ajánlata", Arajanlat},
    {"Fűtéskorszerűsítés műszaki ellenőri jelentése", Jelentes},
    {"Tűzvédelmi szemle eredménye - {utca}", Jegyzokonyv}, {"Közüzemi számla - {ev}. {honap}", Szamla},
    {"Díjbekérő - {projekt}", Szamla}, {"Idézés tárgyalásra ({szam}/{ev})", Idezes},
    {"Önkormányzati támogatás elszámolása, {ev}", Jelentes}, {"Levél a(z) {partner} részéről", Level},
    {"Tájékoztatás a szolgáltatási díjak változásáról", Level}, {"Pályázati felhívás: {projekt}", Palyazat},
};

const Subject outgoingSubjects[] = {
    {"Válasz a(z) {szam}/{ev}. számú megkeresésre", Level}, {"Megrendelés - {projekt}", Megrendeles},
    {"Árajánlatkérés - {projekt}", Arajanlat}, {"Szerződés aláírásra - {partner}", Szerzodes},
    {"Értesítés a döntésről", Ertesites}, {"Határozat a kérelem tárgyában ({szam}/{ev})", Hatarozat},
    {"Teljesítésigazolás - {projekt}", Teljesites}, {"Hiánypótlás benyújtása", Hianypotlas},
    {"Fizetési emlékeztető - {szam}/{ev}", Felszolitas},
    {"Meghívó egyeztető megbeszélésre ({honap} {nap}.)", Meghivo},
    {"Tájékoztató levél a díjváltozásról", Level}, {"Kérelem határidő-hosszabbításra", Kerelem},
    {"Adatszolgáltatás, {ev}. {negyedev}. negyedév", Jelentes},
    {"Nyilatkozat az áfalevonási jogról", Nyilatkozat},
    {"Tájékoztató a közbeszerzési eljárás eredményéről - {projekt}", Ertesites},
    {"Pályázati dokumentáció benyújtása - {projekt}", Palyazat}, {"Levél {partner} részére", Level},
};

const Subject otherSubjects[] = {
    {"Belső utasítás az iratkezelési rend módosításáról", Utasitas},
    {"Feljegyzés a {honap} {nap}-i vezetői értekezletről", Feljegyzes},
    {"Szabadságolási terv, {ev}", Feljegyzes}, {"Leltár, {ev}", Jegyzokonyv},
    {"Selejtezési jegyzőkönyv, {ev}", Jegyzokonyv}, {"Munkavédelmi oktatás jelenléti íve", Jegyzokonyv},
    {"Belső ellenőrzési jelentés - {projekt}", Jelentes}, {"Kiküldetési rendelvény - {varos}", Feljegyzes},
    {"Gépjármű menetlevél, {ev}. {honap}", Feljegyzes}, {"Munkaköri leírás módosítása", Utasitas},
};

const char *const months[] = {"január", "február",   "március",    "április", "május",    "június",
                              "július", "augusztus", "szeptember", "október", "november", "december"};

const char *const storagePlaces[] = {
    "Irattár I.", "Irattár II.", "Titkárság, 1. polc", "Pénzügy, páncélszekrény",
    "Műszaki osztály, 3. szekrény", "Jogi osztály", "Archívum, 12. doboz", "Archívum, 27. doboz",
    "Ügyfélszolgálat, tárló", "Főépület, pince", "Vezetői iroda",
};

const char *const reminderTexts[] = {
    "Visszahívni az ügyfelet", "Hiánypótlás határideje lejár", "Fizetési határidő",
    "Egyeztetés a jogi osztállyal", "Válaszlevél elküldése", "Szerződés aláírásának ellenőrzése",
    "Helyszíni bejárás időpontja", "Őrzési idő felülvizsgálata", "Ügyfél értesítése a döntésről",
    "Számla kifizetésének ellenőrzése",
};

const char *const remarks[] = {
    "Eredeti példány az irattárban.", "Másolat a pénzügyre továbbítva.",
    "Sürgős! Azonnali intézkedést igényel.", "Az ügyfél telefonon is jelezte.\r\nVisszahívás megtörtént.",
    "Hiányos, pótlás kérve.", "Elektronikusan is megérkezett (e-mail).", "Tértivevény visszaérkezett.",
    "Iktatás után szkennelve.", "O'Brien úr levele szerint a szállítás két hetet késik.",
    "Kérjük a határidő betartását; további egyeztetés szükséges.\r\nFelelős: {ugyintezo}",
    "Tűzvédelmi előírás: 50% előleg, a többi átadáskor.",
};

const char *const keywords[] = {
    "szerződés, ajánlat", "számla, kifizetés", "engedély, építés", "panasz", "pályázat, támogatás",
    "közbeszerzés", "személyügy", "adó", "közmű, víz", "karbantartás", "őrzés, vagyonvédelem",
    "fűtés, energia",
};

const char *const attachmentNames[] = {
    "beolvasott_{datum}.pdf", "{tipus}_{szam}.pdf", "Árajánlat {szam}.pdf", "szerződés_tervezet_v{n}.docx",
    "melléklet_{n}.xlsx", "fénykép_helyszín_{n}.jpg", "Számla_{szam}_{ev}.pdf", "jegyzőkönyv.doc",
    "térkép.png", "levél.odt", "adatlap.xls", "nyilatkozat aláírt.pdf", "OLVASSEL",
};

const int areaCodes[] = {22, 23, 24, 25, 26, 27, 28, 29, 32, 33, 34, 35, 36, 37, 42, 44, 45, 46,
                         47, 48, 49, 52, 53, 54, 56, 57, 59, 62, 63, 66, 68, 69, 72, 73, 74, 75,
                         76, 77, 78, 79, 82, 83, 84, 85, 87, 88, 89, 92, 93, 94, 95, 96, 99};

// clang-format on

template <size_t N> QStringList words(const char *const (&list)[N])
{
    QStringList out;
    out.reserve(qsizetype(N));
    for (const char *w : list)
        out << QString::fromUtf8(w);
    return out;
}

// The name in lower-case ASCII letters, for logins, e-mail addresses and web users.
QString asciiFold(const QString &text)
{
    QString out;
    for (QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            out += c.toLower();
    }
    return out;
}

// "Kiss János" -> "janos.kiss"
QString mailName(const QString &person)
{
    return asciiFold(person.section(QLatin1Char(' '), 1)) + QLatin1Char('.') +
           asciiFold(person.section(QLatin1Char(' '), 0, 0));
}

// ---------------------------------------------------------------- SQL values
QString txt(const QString &text)
{
    return SqlLiteral(text);
}
QString num(qint64 value)
{
    return SqlInt(value);
}
// NULL for an invalid date.
QString date(const QDate &day)
{
    return SqlDate(day);
}
QString flag(bool on)
{
    return on ? QStringLiteral("'I'") : QStringLiteral("'N'");
}
QString stamp(const QDateTime &when)
{
    return SqlLiteral(when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// One multi-row INSERT; rows are added as already-literal values.
class Insert
{
public:
    explicit Insert(QString head, QString tail = QString()) : m_head(std::move(head)), m_tail(std::move(tail))
    {
    }
    void add(std::initializer_list<QString> values)
    {
        m_body += m_rows == 0 ? QStringLiteral("\n(") : QStringLiteral(",\n(");
        bool first = true;
        for (const QString &v : values) {
            if (!first)
                m_body += QLatin1Char(',');
            m_body += v;
            first = false;
        }
        m_body += QLatin1Char(')');
        ++m_rows;
    }
    int rows() const { return m_rows; }
    // Sends the rows collected so far (nothing when there are none).
    void flush(Connection &c)
    {
        if (m_rows == 0)
            return;
        c.exec(m_head + QStringLiteral(" VALUES") + m_body + m_tail);
        m_body.clear();
        m_rows = 0;
    }

private:
    QString m_head;
    QString m_tail;
    QString m_body;
    int m_rows = 0;
};

class Dice
{
public:
    explicit Dice(quint32 seed) : m_gen(seed) {}
    int below(int n) { return n <= 1 ? 0 : int(m_gen.bounded(quint32(n))); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percentTimesTen) { return below(1000) < percentTimesTen; } // in tenths of a percent
    const QString &pick(const QStringList &list) { return list[below(int(list.size()))]; }
    template <typename T> const T &pick(const QList<T> &list) { return list[below(int(list.size()))]; }

private:
    QRandomGenerator m_gen;
};

struct Entry
{
    int key = 0;
    QString name;
};

struct Client
{
    int key = 0;
    QString name;
    bool person = false;
};

} // namespace

// ---------------------------------------------------------------- the generator

struct DemoData::Impl
{
    Impl(Connection &connection, DemoOptions options) : c(connection), o(std::move(options)), dice(o.seed) {}

    Connection &c;
    DemoOptions o;
    Progress progress;
    Dice dice;
    DemoSummary s;
    QDate today;
    bool serialYearly = false; // beallit.mindigegyrolindul
    bool subYearly = false;    // beallit.alszamevenkent

    QStringList surnameList = words(surnames), maleList = words(maleNames), femaleList = words(femaleNames);
    QStringList streetList = words(streets), monthList = words(months);
    QList<Entry> groups;            // every group documents may go to
    QHash<int, QList<int>> writers; // group -> users who may register into it
    QList<Client> externals, internals, units;
    QList<Entry> projectEntries, workEntries, typeEntries, otherEntries;
    struct MainNumber
    {
        int key;
        int year; // 0: used every year
    };
    QList<MainNumber> mainNumbers;
    QHash<int, QList<int>> mainByYear; // year -> main numbers a document of that year may get
    QHash<int, QString> statusNames;
    // Last number handed out, by (main number, year); main number 0 is the serial number.
    QHash<QPair<int, int>, int> serials, subs;

    void run();
    void readState();
    void transaction(const std::function<void()> &work);
    void addMasterData();
    void addPostalCodes();
    void addGroupsAndUsers();
    void addClients();
    void addLookups();
    void addDocuments();
    void updateCounters();

    int maxOf(const QString &column, const QString &table)
    {
        return c.selectValue(QStringLiteral("SELECT IFNULL(MAX(%1), 0) FROM %2").arg(column, table)).toInt();
    }
    QString personName()
    {
        const QString &given = dice.chance(500) ? dice.pick(maleList) : dice.pick(femaleList);
        return dice.pick(surnameList) + QLatin1Char(' ') + given;
    }
    QString address()
    {
        const QString street = dice.pick(streetList);
        return street + QLatin1Char(' ') + QString::number(dice.between(1, 120)) + QLatin1Char('.');
    }
    QString phone(bool mobile)
    {
        if (mobile) {
            static const int prefixes[] = {20, 30, 70};
            return QStringLiteral("06-%1-%2-%3")
                .arg(prefixes[dice.below(3)])
                .arg(dice.between(100, 999))
                .arg(dice.between(1000, 9999));
        }
        return QStringLiteral("06-%1-%2-%3")
            .arg(areaCodes[dice.below(int(std::size(areaCodes)))])
            .arg(dice.between(100, 999))
            .arg(dice.between(100, 999));
    }
};

DemoData::DemoData(Connection &connection, DemoOptions options)
    : d(std::make_unique<Impl>(connection, std::move(options)))
{
}

DemoData::~DemoData() = default;

void DemoData::setProgress(Progress progress)
{
    d->progress = std::move(progress);
}

DemoSummary DemoData::run()
{
    d->run();
    return d->s;
}

qint64 DemoData::documentCount(Connection &connection)
{
    return connection.selectValue(QStringLiteral("SELECT COUNT(*) FROM iktato")).toLongLong();
}

void DemoData::Impl::run()
{
    if (o.documents < 0)
        throw KorvenaError(QStringLiteral("A dokumentumok száma nem lehet negatív."));
    if (o.years < 1)
        o.years = 1;
    if (o.batchRows < 1)
        o.batchRows = 1000;
    readState();
    addMasterData();
    addDocuments();
    updateCounters();
}

void DemoData::Impl::readState()
{
    today = o.today.isValid() ? o.today : c.selectValue(QStringLiteral("SELECT CURDATE()")).toDate();
    const Dataset settings = c.query(
        QStringLiteral("SELECT mindigegyrolindul, alszamevenkent FROM beallit ORDER BY beallit LIMIT 1"));
    if (!settings.isEmpty()) {
        serialYearly = settings.text(0, 0) == QLatin1String("I");
        subYearly = settings.text(0, 1) == QLatin1String("I");
    }
    // Counters continue from whatever is larger: the counter rows or the numbers in use.
    const Dataset counters = c.query(QStringLiteral("SELECT szamlalo, foszam, ev, ertek FROM szamlalo"));
    for (int r = 0; r < counters.rowCount(); ++r) {
        auto &target = counters.text(r, 0) == QLatin1String("iktato2") ? serials : subs;
        const QPair<int, int> k(int(counters.toInt(r, 1)), int(counters.toInt(r, 2)));
        target[k] = std::max(target.value(k), int(counters.toInt(r, 3)));
    }
    const Dataset used =
        c.query(QStringLiteral("SELECT IFNULL(YEAR(dat_erk), 0), MAX(iktato2) FROM iktato GROUP BY 1"));
    for (int r = 0; r < used.rowCount(); ++r) {
        const QPair<int, int> k(0, serialYearly ? int(used.toInt(r, 0)) : 0);
        serials[k] = std::max(serials.value(k), int(used.toInt(r, 1)));
    }
    const Dataset usedSubs = c.query(QStringLiteral(
        "SELECT az1, IFNULL(YEAR(dat_erk), 0), MAX(az2) FROM iktato WHERE az1 > 0 GROUP BY 1, 2"));
    for (int r = 0; r < usedSubs.rowCount(); ++r) {
        const QPair<int, int> k(int(usedSubs.toInt(r, 0)), subYearly ? int(usedSubs.toInt(r, 1)) : 0);
        subs[k] = std::max(subs.value(k), int(usedSubs.toInt(r, 2)));
    }
}

void DemoData::Impl::transaction(const std::function<void()> &work)
{
    c.exec(QStringLiteral("START TRANSACTION"));
    try {
        work();
        c.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            c.exec(QStringLiteral("ROLLBACK"));
        } catch (...) {
            // The first failure is the one worth reporting.
        }
        throw;
    }
}

void DemoData::Impl::addMasterData()
{
    if (progress)
        progress(QStringLiteral("Törzsadatok"), 0, 1);
    transaction([this] {
        addPostalCodes();
        addGroupsAndUsers();
        addClients();
        addLookups();
    });
    if (progress)
        progress(QStringLiteral("Törzsadatok"), 1, 1);
}

void DemoData::Impl::addPostalCodes()
{
    QSet<QString> known;
    const Dataset rows = c.query(QStringLiteral("SELECT irsz, varos FROM irsz"));
    for (int r = 0; r < rows.rowCount(); ++r)
        known.insert(rows.text(r, 0) + QLatin1Char('|') + rows.text(r, 1).toLower());
    Insert insert(QStringLiteral("INSERT INTO irsz (irsz, varos)"));
    for (const PostalCode &p : postalCodes) {
        const QString code = QString::fromUtf8(p.code), town = QString::fromUtf8(p.town);
        if (known.contains(code + QLatin1Char('|') + town.toLower()))
            continue;
        insert.add({txt(code), txt(town)});
        ++s.postalCodes;
    }
    insert.flush(c);
}

void DemoData::Impl::addGroupsAndUsers()
{
    // Groups: the existing ones stay in use; a department whose name exists is not added again.
    QHash<QString, int> groupByName;
    const Dataset existing =
        c.query(QStringLiteral("SELECT csoport, csoport_nev FROM csoport WHERE IFNULL(torolve, 'N') <> 'I' "
                               "ORDER BY csoport"));
    for (int r = 0; r < existing.rowCount(); ++r) {
        groups << Entry{int(existing.toInt(r, 0)), existing.text(r, 1)};
        groupByName.insert(existing.text(r, 1).toLower(), int(existing.toInt(r, 0)));
    }
    int nextGroup = maxOf(QStringLiteral("csoport"), QStringLiteral("csoport")) + 1;
    QList<int> departmentGroup;
    Insert groupInsert(QStringLiteral("INSERT INTO csoport (csoport, csoport_nev, torolve)"));
    for (const QString &name : words(departments)) {
        int key = groupByName.value(name.toLower());
        if (key == 0) {
            key = nextGroup++;
            groupInsert.add({num(key), txt(name), flag(false)});
            groups << Entry{key, name};
            ++s.groups;
        }
        departmentGroup << key;
    }
    groupInsert.flush(c);

    // Users: a login that exists already is reused as it is.
    QHash<QString, int> userByLogin;
    const Dataset users = c.query(QStringLiteral("SELECT felhkod, felhasznalo FROM felhasznalo"));
    for (int r = 0; r < users.rowCount(); ++r)
        userByLogin.insert(users.text(r, 1).toLower(), int(users.toInt(r, 0)));
    const bool hasAdmin = userByLogin.values().contains(1);
    const QString md5 = QString::fromLatin1(
        QCryptographicHash::hash(demoPassword().toLatin1(), QCryptographicHash::Md5).toHex());
    int nextUser = maxOf(QStringLiteral("felhkod"), QStringLiteral("felhasznalo")) + 1;
    Insert userInsert(
        QStringLiteral("INSERT INTO felhasznalo (felhkod, felhasznalo, felhasznalo_nev, rendszergazda, "
                       "torzsszerkeszt, csaksajat, canins, canedit, candel, jelszomd5, torolve)"));
    Insert memberInsert(QStringLiteral("INSERT IGNORE INTO felhkod_csoport (felhkod, csoport)"));
    auto member = [&](int user, int group, bool writes) {
        memberInsert.add({num(user), num(group)});
        if (writes && !writers[group].contains(user))
            writers[group] << user;
    };
    // The built-in administrator sees every document, so the demo can be looked at from his login.
    if (hasAdmin) {
        for (const Entry &g : groups)
            member(1, g.key, true);
    }
    for (const DemoUser &u : demoUsers) {
        const QString login = QString::fromUtf8(u.login);
        int key = userByLogin.value(login);
        if (key == 0) {
            key = nextUser++;
            userInsert.add({num(key), txt(login), txt(QString::fromUtf8(u.name)), flag(u.admin),
                            flag(u.masterData), flag(false), flag(u.write), flag(u.write), flag(u.write),
                            txt(md5), flag(false)});
            ++s.users;
        }
        if (u.admin) {
            for (const Entry &g : groups)
                member(key, g.key, u.write);
            continue;
        }
        member(key, departmentGroup[u.department], u.write);
        // Everybody also reads the secretariat's mail and one more department.
        member(key, departmentGroup[0], u.write);
        member(key, departmentGroup[dice.below(int(departmentGroup.size()))], u.write);
    }
    userInsert.flush(c);
    memberInsert.flush(c);
    // A group nobody may register into gets its documents from the administrators.
    for (const Entry &g : groups) {
        if (writers.value(g.key).isEmpty())
            writers[g.key] << (hasAdmin ? 1 : nextUser - 1);
    }
}

void DemoData::Impl::addClients()
{
    const int internalCount = std::clamp(o.documents / 500, 20, 150);
    const int externalCount = std::clamp(o.documents / 40, 50, 2500);
    int next = maxOf(QStringLiteral("ugyfel"), QStringLiteral("ugyfel")) + 1;
    Insert insert(
        QStringLiteral("INSERT INTO ugyfel (ugyfel, ugyfel_nev, irsz, varos, cim, ui, telefon, emil, belso, "
                       "webuser, webpwd, kellsorvika, kellemil, kellsms, torolve, dat_torolve)"));
    QSet<QString> names;
    auto unique = [&](const std::function<QString()> &make) -> QString {
        QString name;
        for (int attempt = 0; attempt < 10; ++attempt) {
            name = make().left(50);
            if (!names.contains(name))
                break;
        }
        names.insert(name);
        return name;
    };
    const QStringList departmentNames = words(departments);
    const QStringList stems = words(firmStems), trades = words(firmTrades), forms = words(legalForms);
    const QStringList localBodies = words(authorities), bodies = words(nationalBodies);
    const int budapestCodes = 23; // the first entries of the postal code list
    const PostalCode &home = postalCodes[dice.below(int(std::size(postalCodes)))];
    const QString homeAddress = address();

    // Internal units and persons share the organisation's address.
    for (int i = 0; i < departmentNames.size() + internalCount; ++i) {
        const bool unit = i < departmentNames.size();
        const QString department = unit ? departmentNames[i] : dice.pick(departmentNames);
        const QString name = unit ? department : unique([this] { return personName(); });
        const QString mailbox = unit ? asciiFold(department) : mailName(name);
        const QString mail = mailbox + QStringLiteral("@pelda-hivatal.hu");
        const QString extension = QStringLiteral("06-1-555-%1").arg(1000 + i);
        insert.add({num(next), txt(name), txt(QString::fromUtf8(home.code)),
                    txt(QString::fromUtf8(home.town)), txt(homeAddress), txt(unit ? QString() : department),
                    txt(extension), txt(mail), flag(true), txt(QString()), txt(QString()), flag(false),
                    flag(true), flag(false), flag(false), QStringLiteral("NULL")});
        (unit ? units : internals) << Client{next, name, !unit};
        ++next;
        ++s.internalClients;
    }

    for (int i = 0; i < externalCount; ++i) {
        const int roll = dice.below(100);
        const PostalCode *place = &postalCodes[dice.below(int(std::size(postalCodes)))];
        Client client{next, QString(), false};
        QString contact, mail, phoneText;
        if (roll < 55) {
            client.name = unique([&]() -> QString {
                const int shape = dice.below(10);
                const QString first = shape < 4 ? dice.pick(surnameList) : dice.pick(stems);
                if (shape < 3)
                    return first + QStringLiteral(" és Társa ") + dice.pick(forms);
                if (shape < 4)
                    return first + QStringLiteral(" és Fia Bt.");
                const QString trade = dice.pick(trades);
                return first + QLatin1Char(' ') + trade + QLatin1Char(' ') + dice.pick(forms);
            });
            contact = personName();
            mail = QStringLiteral("info@") + asciiFold(client.name.section(QLatin1Char(' '), 0, -2)) +
                   QStringLiteral(".hu");
            phoneText = phone(false);
        } else if (roll < 80) {
            client.person = true;
            client.name = unique([this] { return personName(); });
            static const char *const mailHosts[] = {"freemail.hu", "gmail.com", "citromail.hu",
                                                    "t-online.hu"};
            mail = mailName(client.name) + QLatin1Char('@') + QString::fromLatin1(mailHosts[dice.below(4)]);
            phoneText = phone(true);
        } else {
            // National bodies sit in the capital, local ones in a town of their own name.
            const bool national = dice.chance(250);
            place = national ? &postalCodes[dice.below(budapestCodes)]
                             : &postalCodes[dice.between(budapestCodes, int(std::size(postalCodes)) - 1)];
            const QString seat = QString::fromUtf8(place->town);
            client.name = unique(
                [&]() -> QString { return national ? dice.pick(bodies) : dice.pick(localBodies).arg(seat); });
            contact = personName();
            mail = QStringLiteral("hivatal@") +
                   (national ? asciiFold(client.name).left(24) : asciiFold(seat)) + QStringLiteral(".hu");
            phoneText = phone(false);
        }
        const bool store = dice.chance(50);
        const bool deleted = i % 40 == 7; // a few, whatever the seed
        insert.add({num(next), txt(client.name), txt(QString::fromUtf8(place->code)),
                    txt(QString::fromUtf8(place->town)), txt(address()), txt(contact), txt(phoneText),
                    txt(mail), flag(false), txt(store ? asciiFold(client.name).left(20) : QString()),
                    txt(store ? QString::number(dice.between(10000000, 99999999)) : QString()), flag(store),
                    flag(dice.chance(300)), flag(dice.chance(100)), flag(deleted),
                    deleted ? stamp(QDateTime(today.addDays(-dice.below(700)), QTime(10, 0)))
                            : QStringLiteral("NULL")});
        externals << client;
        ++next;
        ++s.clients;
        if (insert.rows() >= o.batchRows)
            insert.flush(c);
    }
    insert.flush(c);
}

void DemoData::Impl::addLookups()
{
    auto fill = [this](const QString &table, const QStringList &names, bool softDelete, QList<Entry> &into) {
        int next = maxOf(table, table) + 1;
        Insert insert(QStringLiteral("INSERT INTO %1 (%1, %1_nev%2)")
                          .arg(table, softDelete ? QStringLiteral(", torolve") : QString()));
        for (const QString &name : names) {
            if (softDelete)
                insert.add({num(next), txt(name), flag(false)});
            else
                insert.add({num(next), txt(name)});
            into << Entry{next++, name};
        }
        insert.flush(c);
        return int(names.size());
    };
    s.projects = fill(QStringLiteral("projekt"), words(projects), false, projectEntries);
    s.workNumbers = fill(QStringLiteral("munkaszam"), words(workNumbers), false, workEntries);
    s.types = fill(QStringLiteral("tipus"), words(types), true, typeEntries);
    s.otherGroupings = fill(QStringLiteral("egyebcsop"), words(otherGroupings), false, otherEntries);

    // Main numbers: yearly files for every year the documents span, and some that run on.
    static const char *const yearly[] = {"Testületi ülések", "Költségvetés", "Közbeszerzések",
                                         "Szerződések",      "Pályázatok",   "Személyügyi iratok"};
    static const char *const lasting[] = {
        "Építéshatósági ügyek", "Adóügyek",         "Ingatlanügyek", "Panaszügyek",
        "Közterület-használat", "Környezetvédelem", "Peres ügyek",   "Őrzött iratok"};
    int next = maxOf(QStringLiteral("foszam"), QStringLiteral("foszam")) + 1;
    Insert insert(QStringLiteral("INSERT INTO foszam (foszam, foszam_nev, torolve)"));
    for (int year = today.year() - o.years + 1; year <= today.year(); ++year) {
        for (const char *name : yearly) {
            insert.add({num(next), txt(QString::fromUtf8(name) + QLatin1Char(' ') + QString::number(year)),
                        flag(false)});
            mainNumbers << MainNumber{next++, year};
        }
    }
    for (const char *name : lasting) {
        insert.add({num(next), txt(QString::fromUtf8(name)), flag(false)});
        mainNumbers << MainNumber{next++, 0};
    }
    s.mainNumbers = insert.rows();
    insert.flush(c);
    for (int year = today.year() - o.years + 1; year <= today.year(); ++year) {
        for (const MainNumber &m : mainNumbers) {
            if (m.year == 0 || m.year == year)
                mainByYear[year] << m.key;
        }
    }

    // Statuses: codes the register has already keep their own names.
    Insert status(QStringLiteral("INSERT IGNORE INTO statusz (statusz, statusz_nev, kesz, szin)"));
    for (const Status &st : statuses)
        status.add({num(st.code), txt(QString::fromUtf8(st.name)), flag(st.done),
                    txt(QString::fromLatin1(st.colour))});
    status.flush(c);
    s.statuses = int(c.affectedRows());
    const Dataset statusRows = c.query(QStringLiteral("SELECT statusz, statusz_nev FROM statusz"));
    for (int r = 0; r < statusRows.rowCount(); ++r)
        statusNames.insert(int(statusRows.toInt(r, 0)), statusRows.text(r, 1));

    // An organisation without a name gets one, so letterheads and envelopes show something.
    const Dataset owner = c.query(QStringLiteral("SELECT tulajdonos FROM tulajdonos"));
    const QString ownerSet = QStringLiteral(
        "tulajdonos = %1, telefon = %2, mobil = %3, fax = %4, irsz = %5, varos = %6, cim = %7, adoszam = %8, "
        "bankszamlaszam = %9, betujel = %10");
    const Client &unit = units.first();
    const Dataset address =
        c.query(QStringLiteral("SELECT irsz, varos, cim FROM ugyfel WHERE ugyfel = ") + num(unit.key));
    const QString set = ownerSet.arg(
        txt(QStringLiteral("Példaváros Polgármesteri Hivatala")), txt(QStringLiteral("06-1-555-1000")),
        txt(QStringLiteral("06-30-555-1000")), txt(QStringLiteral("06-1-555-1001")), txt(address.text(0, 0)),
        txt(address.text(0, 1)), txt(address.text(0, 2)), txt(QStringLiteral("15735000213")),
        txt(QStringLiteral("11742001-15735000")), txt(QStringLiteral("PH")));
    if (owner.isEmpty())
        c.exec(QStringLiteral("INSERT INTO tulajdonos SET ") + set);
    else if (owner.text(0, 0).trimmed().isEmpty())
        c.exec(QStringLiteral("UPDATE tulajdonos SET ") + set +
               QStringLiteral(" WHERE IFNULL(tulajdonos, '') = ''"));
}

namespace {

// A working day in [first, last] near the given one (weekends move to Friday or Monday).
QDate workday(QDate day, const QDate &first, const QDate &last)
{
    const int dow = day.dayOfWeek();
    if (dow >= 6) {
        const QDate friday = day.addDays(5 - dow), monday = day.addDays(8 - dow);
        if (friday >= first)
            day = friday;
        else if (monday <= last)
            day = monday;
    }
    return day;
}

QString fill(QString text, const QList<QPair<QString, QString>> &values)
{
    for (const auto &[placeholder, value] : values)
        text.replace(placeholder, value);
    return text;
}

} // namespace

void DemoData::Impl::addDocuments()
{
    const int total = o.documents;
    const QDate first(today.year() - o.years + 1, 1, 1);
    const int span = int(first.daysTo(today));
    std::vector<QDate> dates;
    dates.reserve(size_t(total));
    for (int i = 0; i < total; ++i)
        dates.push_back(workday(first.addDays(dice.below(span + 1)), first, today));
    std::sort(dates.begin(), dates.end());

    // A few reminders fall on today, among the recent documents.
    QSet<int> remindToday;
    const int todayCount = std::min(total, std::clamp(total / 1000, 3, 25));
    const int recent = std::max(todayCount, total / 4);
    while (remindToday.size() < todayCount)
        remindToday.insert(total - 1 - dice.below(recent));

    const QStringList storage = words(storagePlaces), reminders = words(reminderTexts),
                      remarkList = words(remarks), keywordList = words(keywords),
                      fileNames = words(attachmentNames);
    QList<int> writerGroups;
    for (const Entry &g : groups)
        writerGroups << g.key;

    int nextDoc = maxOf(QStringLiteral("iktato"), QStringLiteral("iktato")) + 1;
    int nextFile = maxOf(QStringLiteral("iktato_file"), QStringLiteral("iktato_file")) + 1;
    Insert docs(QStringLiteral("INSERT INTO iktato (iktato, iktato2, az1, az2, targy, ugyf_kitol, ugyf_hova, "
                               "ugyf_intezkedesre, tarolo, "
                               "dat_erk, dat_hatid, dat_megorzes, hivszam, torolve, dat_figy, figy_szoveg, "
                               "nyomtatni, projekt, munkaszam, "
                               "irany, tipus, csoport, felhkod, kolcsonadva, kolcsonadva_dat, "
                               "kolcsonadva_kinek, statusz, kulcsszavak, "
                               "megjegyzes, egyebcsop)"));
    Insert copies(QStringLiteral("INSERT IGNORE INTO masolat (iktato, ugyfel, rogzitve)"));
    Insert journal(QStringLiteral("INSERT INTO iktnaplo (iktato, felhkod, datum, szoveg)"));
    Insert files(QStringLiteral(
        "INSERT INTO iktato_file (iktato_file, iktato, filenev, origfilenev, felhkod, rogzitve)"));
    const QString none = QStringLiteral("NULL");
    const QString nobody = QStringLiteral("0"); // how sp_iktato stores a missing client

    for (int i = 0; i < total; ++i) {
        const int key = nextDoc++;
        const QDate arrived = dates[size_t(i)];
        const int year = arrived.year();
        const int age = int(arrived.daysTo(today));
        const int hour = dice.between(8, 15), minute = dice.below(60);
        const QDateTime registered(arrived, QTime(hour, minute, dice.below(60)));
        const int roll = dice.below(100);
        const int direction = roll < 55 ? 0 : roll < 90 ? 1 : 2;
        const int group = dice.pick(writerGroups);
        const int user = dice.pick(writers.value(group));

        // Who it comes from, goes to and who handles it.
        const Client &partner = dice.pick(externals);
        const Client &person = dice.pick(internals);
        const Client &unit = dice.pick(units);
        int from = 0, to = 0, handler = 0;
        if (direction == 0) {
            from = partner.key;
            to = dice.chance(600) ? unit.key : person.key;
            handler = dice.chance(800) ? person.key : 0;
        } else if (direction == 1) {
            from = dice.chance(500) ? person.key : unit.key;
            to = partner.key;
            handler = dice.chance(500) ? person.key : 0;
        } else {
            from = dice.chance(600) ? person.key : 0;
            to = dice.chance(300) ? unit.key : 0;
            handler = dice.chance(300) ? person.key : 0;
        }

        // The subject, and the master data it speaks of.
        const Subject &subject =
            direction == 0   ? incomingSubjects[dice.below(int(std::size(incomingSubjects)))]
            : direction == 1 ? outgoingSubjects[dice.below(int(std::size(outgoingSubjects)))]
                             : otherSubjects[dice.below(int(std::size(otherSubjects)))];
        const QString subjectText = QString::fromUtf8(subject.text);
        const bool namesProject = subjectText.contains(QLatin1String("{projekt}"));
        const Entry *project = namesProject || dice.chance(300) ? &dice.pick(projectEntries) : nullptr;
        const Entry *work = dice.chance(450) ? &dice.pick(workEntries) : nullptr;
        const Entry *type = dice.chance(920) ? &typeEntries[subject.type] : nullptr;
        const Entry *other = dice.chance(200) ? &dice.pick(otherEntries) : nullptr;
        const QDate mentioned = arrived.addDays(-dice.below(20));
        const QString targy = fill(
            subjectText, {
                             {QStringLiteral("{projekt}"), project ? project->name : QString()},
                             {QStringLiteral("{partner}"), partner.name},
                             {QStringLiteral("{varos}"),
                              QString::fromUtf8(postalCodes[dice.below(int(std::size(postalCodes)))].town)},
                             {QStringLiteral("{utca}"), address()},
                             {QStringLiteral("{ev}"), QString::number(mentioned.year())},
                             {QStringLiteral("{honap}"), monthList[mentioned.month() - 1]},
                             {QStringLiteral("{nap}"), QString::number(mentioned.day())},
                             {QStringLiteral("{szam}"), QString::number(dice.between(10, 9999))},
                             {QStringLiteral("{negyedev}"), QString::number((arrived.month() - 1) / 3 + 1)},
                         });

        // Numbers: the serial number and, for most documents, a main number with its next sub-number.
        const int serial = ++serials[qMakePair(0, serialYearly ? year : 0)];
        int mainNumber = 0;
        QString subNumber = none;
        if (dice.chance(600)) {
            const QList<int> &candidates = mainByYear[year];
            mainNumber = dice.pick(candidates);
            subNumber = num(++subs[qMakePair(mainNumber, subYearly ? year : 0)]);
        }

        QString reference;
        if ((direction == 0 && dice.chance(700)) || (direction == 1 && dice.chance(300))) {
            const QString n = QString::number(dice.between(10, 9999)), y = QString::number(year);
            switch (dice.below(5)) {
            case 0:
                reference = n + QLatin1Char('/') + y;
                break;
            case 1:
                reference = QStringLiteral("%1-%2/%3").arg(QChar(u'A' + dice.below(26))).arg(n, y);
                break;
            case 2:
                reference = QStringLiteral("Ikt.sz.: %1-%2/%3").arg(n).arg(dice.between(1, 9)).arg(y);
                break;
            case 3:
                reference = y + QLatin1Char('/') + n;
                break;
            default:
                reference =
                    QStringLiteral("SZ-%1-%2").arg(y).arg(dice.below(100000), 5, 10, QLatin1Char('0'));
            }
        }
        static const int deadlines[] = {8, 15, 30, 30, 30, 45, 60, 90};
        const QDate deadline = arrived.addDays(deadlines[dice.below(8)]);
        static const int keepYears[] = {2, 5, 15};
        const QDate keepUntil =
            dice.chance(800) ? arrived.addYears(10) : QDate(year + keepYears[dice.below(3)], 12, 31);
        const QString place = dice.chance(700) ? dice.pick(storage) : QString();
        const bool deleted = !remindToday.contains(i) && dice.chance(7);
        QDate remindOn;
        if (remindToday.contains(i))
            remindOn = today;
        else if (dice.chance(25))
            remindOn = arrived.addDays(dice.between(3, 45));
        const QString remindText = remindOn.isValid() ? dice.pick(reminders) : QString();
        const bool marked = dice.chance(15);
        const bool lent = !deleted && dice.chance(15);
        const QDate lentOn = lent ? arrived.addDays(dice.below(std::min(age, 120) + 1)) : QDate();
        const QString lentTo = !lent              ? QString()
                               : dice.chance(600) ? dice.pick(internals).name
                                                  : personName();
        int status = -1; // none
        if (age > 7 || dice.chance(600)) {
            const bool done = age > 90 ? dice.chance(850) : dice.chance(250);
            status = done ? (age > 730 && dice.chance(100) ? 9 : dice.between(6, 8)) : dice.between(0, 5);
        }
        const QString keyword = dice.chance(300) ? dice.pick(keywordList) : QString();
        const QString remark =
            dice.chance(200)
                ? QString(dice.pick(remarkList)).replace(QStringLiteral("{ugyintezo}"), person.name)
                : QString();

        docs.add({num(key),
                  num(serial),
                  num(mainNumber),
                  subNumber,
                  txt(targy),
                  num(from),
                  num(to),
                  num(handler),
                  txt(place),
                  date(arrived),
                  date(deadline),
                  date(keepUntil),
                  txt(reference),
                  flag(deleted),
                  date(remindOn),
                  remindOn.isValid() ? txt(remindText) : none,
                  flag(marked),
                  project ? num(project->key) : none,
                  work ? num(work->key) : none,
                  num(direction),
                  type ? num(type->key) : none,
                  num(group),
                  num(user),
                  flag(lent),
                  date(lentOn),
                  txt(lentTo),
                  status >= 0 ? num(status) : none,
                  txt(keyword),
                  txt(remark),
                  other ? num(other->key) : none});
        ++s.documents;
        s.deleted += deleted;
        s.reminders += remindOn.isValid();
        s.remindersToday += remindOn == today;
        s.marked += marked;
        s.lent += lent;

        // The journal as the editor leaves it: the fields filled in on registering, one per line.
        QString changes = QStringLiteral("targy = ") + targy + QStringLiteral("\r\n");
        auto line = [&changes](const char *column, const QString &value) {
            if (!value.isEmpty())
                changes += QLatin1String(column) + QStringLiteral(" = ") + value + QStringLiteral("\r\n");
        };
        line("hivszam", reference);
        line("tarolo", place);
        line("kulcsszavak", keyword);
        line("tipus", type ? type->name : QString());
        line("projekt", project ? project->name : QString());
        line("munkaszam", work ? work->name : QString());
        if (handler > 0)
            line("ugyf_intezkedesre", person.name);
        auto journalRow = [&](const QDateTime &when, const QString &text) {
            journal.add({num(key), num(user), stamp(when), text.isNull() ? none : txt(text)});
            ++s.journalRows;
        };
        const QDateTime saved = registered.addSecs(dice.between(60, 300));
        journalRow(saved, changes);

        // Attachments: the storage name counts on from the document's previous attachment key.
        const int attachmentCount = dice.chance(300) ? (dice.chance(700) ? 1 : dice.chance(650) ? 2 : 3) : 0;
        int previousFile = 0;
        QString lastName;
        for (int a = 0; a < attachmentCount; ++a) {
            const int fileKey = nextFile++;
            QString name = fill(dice.pick(fileNames),
                                {
                                    {QStringLiteral("{datum}"), arrived.toString(QStringLiteral("yyyyMMdd"))},
                                    {QStringLiteral("{tipus}"), type ? type->name : QStringLiteral("irat")},
                                    {QStringLiteral("{szam}"), QString::number(dice.between(100, 9999))},
                                    {QStringLiteral("{ev}"), QString::number(year)},
                                    {QStringLiteral("{n}"), QString::number(a + 1)},
                                });
            const int dot = name.lastIndexOf(QLatin1Char('.'));
            const QString extension = dot > 0 ? name.mid(dot) : QString();
            const QString stored =
                QStringLiteral("%1-%2").arg(key, 7, 10, QLatin1Char('0')).arg(previousFile + 1) + extension;
            const QDateTime attached = saved.addSecs(dice.between(60, 1800));
            files.add({num(fileKey), num(key), txt(stored), txt(name), num(user), stamp(attached)});
            journalRow(attached, QStringLiteral("File csatolás = ") + name);
            previousFile = fileKey;
            lastName = name;
            ++s.attachments;
        }
        if (attachmentCount > 0 && dice.chance(100))
            journalRow(registered.addDays(std::min(age, dice.between(1, 30))),
                       QStringLiteral("Csatolt file megnyitás = ") + lastName);
        if (dice.chance(10))
            journalRow(
                registered.addSecs(dice.between(30, 300)),
                QStringLiteral("Figyelmeztetés: Csoport módosítás, csatolt file probléma lehetséges."));
        if (status > 0)
            journalRow(registered.addDays(std::min(age, dice.between(1, 60))),
                       QStringLiteral("statusz = %1 (%2)").arg(statusNames.value(status)).arg(status));
        if (deleted)
            journalRow(registered.addDays(std::min(age, dice.between(1, 90))), QString());

        // Copies: outgoing letters to other partners and departments, incoming mail to departments.
        const int copyCount = direction == 1 && dice.chance(150)   ? dice.between(1, 3)
                              : direction == 0 && dice.chance(100) ? dice.between(1, 2)
                                                                   : 0;
        QList<int> copied;
        for (int k = 0; k < copyCount; ++k) {
            const int client =
                direction == 1 && dice.chance(500) ? dice.pick(externals).key : dice.pick(units).key;
            if (client == to || copied.contains(client))
                continue;
            copied << client;
            copies.add({num(key), num(client), stamp(registered.addSecs(dice.between(300, 7200)))});
            ++s.copies;
        }

        if (docs.rows() >= o.batchRows || i == total - 1) {
            transaction([&] {
                docs.flush(c);
                files.flush(c);
                copies.flush(c);
                journal.flush(c);
            });
            if (progress)
                progress(QStringLiteral("Dokumentumok"), i + 1, total);
        }
    }
}

void DemoData::Impl::updateCounters()
{
    // sp_iktato and sp_maxaz2 go on from these rows, so the next registered document gets a fresh number.
    Insert insert(QStringLiteral("INSERT INTO szamlalo (szamlalo, foszam, ev, ertek)"),
                  QStringLiteral(" ON DUPLICATE KEY UPDATE ertek = GREATEST(ertek, VALUES(ertek))"));
    for (auto it = serials.cbegin(); it != serials.cend(); ++it)
        insert.add({txt(QStringLiteral("iktato2")), num(0), num(it.key().second), num(it.value())});
    for (auto it = subs.cbegin(); it != subs.cend(); ++it)
        insert.add({txt(QStringLiteral("az2")), num(it.key().first), num(it.key().second), num(it.value())});
    insert.flush(c);
}
