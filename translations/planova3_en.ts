<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="ru_RU">
    <context>
        <name>Planova</name>
        <message>
            <source>нет эфемериды </source>
            <translation>no ephemeris </translation>
        </message>
        <message>
            <source> в папке </source>
            <translation> in the folder </translation>
        </message>
        <message>
            <source>ascpГГГГГ.</source>
            <translation>ascpYYYYY.</translation>
        </message>
        <message>
            <source>ascpГГГГ.</source>
            <translation>ascpYYYY.</translation>
        </message>
        <message>
            <source>нет KSIZE или NCOEFF</source>
            <translation>no KSIZE or NCOEFF</translation>
        </message>
        <message>
            <source>нет GROUP 1030</source>
            <translation>no GROUP 1030</translation>
        </message>
        <message>
            <source>GROUP 1030 повреждена</source>
            <translation>GROUP 1030 is damaged</translation>
        </message>
        <message>
            <source>нет GROUP 1040/1041</source>
            <translation>no GROUP 1040/1041</translation>
        </message>
        <message>
            <source>GROUP 1040/1041 повреждены</source>
            <translation>GROUP 1040/1041 are damaged</translation>
        </message>
        <message>
            <source>GROUP 1041: не число </source>
            <translation>GROUP 1041: not a number </translation>
        </message>
        <message>
            <source>нет AU или EMRAT</source>
            <translation>no AU or EMRAT</translation>
        </message>
        <message>
            <source>нет GROUP 1050</source>
            <translation>no GROUP 1050</translation>
        </message>
        <message>
            <source>GROUP 1050: не 13 и не 15 столбцов</source>
            <translation>GROUP 1050: neither 13 nor 15 columns</translation>
        </message>
        <message>
            <source>GROUP 1050: тело </source>
            <translation>GROUP 1050: body </translation>
        </message>
        <message>
            <source> не помещается в запись</source>
            <translation> does not fit in the record</translation>
        </message>
        <message>
            <source>не читается</source>
            <translation>cannot be read</translation>
        </message>
        <message>
            <source>: нет файлов ascpГГГГ.</source>
            <translation>: no files ascpYYYY.</translation>
        </message>
        <message>
            <source> перекрывает блок </source>
            <translation> overlaps the block </translation>
        </message>
        <message>
            <source> (годы </source>
            <translation> (years </translation>
        </message>
        <message>
            <source>: нет файлов DE</source>
            <translation>: no files of DE</translation>
        </message>
        <message>
            <source> охватывает JD </source>
            <translation> covers JD </translation>
        </message>
        <message>
            <source> и заходит в блок </source>
            <translation> and reaches into the block </translation>
        </message>
        <message>
            <source> (с JD </source>
            <translation> (from JD </translation>
        </message>
        <message>
            <source>): блоки перекрываются</source>
            <translation>): the blocks overlap</translation>
        </message>
        <message>
            <source> (до JD </source>
            <translation> (before JD </translation>
        </message>
        <message>
            <source>Меркурий</source>
            <translation>Mercury</translation>
        </message>
        <message>
            <source>Венера</source>
            <translation>Venus</translation>
        </message>
        <message>
            <source>барицентр Земля–Луна</source>
            <translation>Earth–Moon barycentre</translation>
        </message>
        <message>
            <source>Марс</source>
            <translation>Mars</translation>
        </message>
        <message>
            <source>Юпитер</source>
            <translation>Jupiter</translation>
        </message>
        <message>
            <source>Сатурн</source>
            <translation>Saturn</translation>
        </message>
        <message>
            <source>Уран</source>
            <translation>Uranus</translation>
        </message>
        <message>
            <source>Нептун</source>
            <translation>Neptune</translation>
        </message>
        <message>
            <source>Плутон</source>
            <translation>Pluto</translation>
        </message>
        <message>
            <source>Луна</source>
            <translation>Moon</translation>
        </message>
        <message>
            <source>Солнце</source>
            <translation>Sun</translation>
        </message>
        <message>
            <source>Файл </source>
            <translation>File </translation>
        </message>
        <message>
            <source> не является ядром SPK</source>
            <translation> is not an SPK kernel</translation>
        </message>
        <message>
            <source> повреждён</source>
            <translation> is damaged</translation>
        </message>
        <message>
            <source>Не открывается файл </source>
            <translation>Cannot open the file </translation>
        </message>
        <message>
            <source>В файле </source>
            <translation>The file </translation>
        </message>
        <message>
            <source> нет сегментов тела: </source>
            <translation> has no segments of the body: </translation>
        </message>
        <message>
            <source> нет сегментов тел: </source>
            <translation> has no segments of the bodies: </translation>
        </message>
        <message>
            <source> сегменты тел не покрывают общего интервала дат</source>
            <translation> has no span of dates that all the bodies’ segments cover</translation>
        </message>
        <message>
            <source>... показаны первые </source>
            <translation>... shown: the first </translation>
        </message>
        <message>
            <source> записей из </source>
            <translation> records of </translation>
        </message>
        <message>
            <source>Недостаточно памяти для этой операции</source>
            <translation>Not enough memory for this operation</translation>
        </message>
        <message>
            <source>Операция прервана из-за ошибки</source>
            <translation>The operation was stopped by an error</translation>
        </message>
        <message>
            <source>Введите правильно данные</source>
            <translation>Enter valid data</translation>
        </message>
        <message>
            <source>Задайте правильно данные</source>
            <translation>Enter valid data</translation>
        </message>
        <message>
            <source>Эфемериды недоступны: </source>
            <translation>Ephemeris not available: </translation>
        </message>
        <message>
            <source>Недопустимое имя файла или обсерватории: </source>
            <translation>Not an allowed file or observatory name: </translation>
        </message>
        <message>
            <source>эфемериды </source>
            <translation>ephemeris </translation>
        </message>
        <message>
            <source>статистика данных  </source>
            <translation>data statistics  </translation>
        </message>
        <message>
            <source>  по планете </source>
            <translation>  for planet </translation>
        </message>
        <message>
            <source>интервалы dL и dB в угловых секундах dR в тыс.км.)</source>
            <translation>intervals of dL and dB in arcseconds, dR in thousands of km)</translation>
        </message>
        <message>
            <source>                 общее количество точек  </source>
            <translation>                 total number of points  </translation>
        </message>
        <message>
            <source> секунд по </source>
            <translation> seconds over </translation>
        </message>
        <message>
            <source> учтенным наблюдениям долготы</source>
            <translation> longitude observations used</translation>
        </message>
        <message>
            <source> учтенным наблюдениям широты</source>
            <translation> latitude observations used</translation>
        </message>
        <message>
            <source>планета  № </source>
            <translation>planet  No. </translation>
        </message>
        <message>
            <source>   обсерватория </source>
            <translation>   observatory </translation>
        </message>
        <message>
            <source>№ п/п, дата наблюдения (день с часами, месяц, год, JD), разность по долготе, широте и времени</source>
            <translation>No., date of observation (day with hours, month, year, JD), difference in longitude, latitude and time</translation>
        </message>
        <message>
            <source>группа           n   отбр.   среднее      ±ош.     сигма       rms   медиана       MAD</source>
            <translation>group            n    rej.      mean     ±s.e.     sigma       rms    median       MAD</translation>
        </message>
        <message>
            <source> хи2/ст.св.</source>
            <translation>   chi2/dof</translation>
        </message>
        <message>
            <source>все записи</source>
            <translation>all</translation>
        </message>
        <message>
            <source>по станциям</source>
            <translation>by station</translation>
        </message>
        <message>
            <source>по годам</source>
            <translation>by year</translation>
        </message>
        <message>
            <source>сводка O-C: </source>
            <translation>O-C summary: </translation>
        </message>
        <message>
            <source>отбраковка k*сигма, k = </source>
            <translation>rejection at k*sigma, k = </translation>
        </message>
        <message>
            <source>, по RA и Dec совместно</source>
            <translation>, RA and Dec jointly</translation>
        </message>
        <message>
            <source>, по RA и Dec раздельно</source>
            <translation>, RA and Dec separately</translation>
        </message>
        <message>
            <source>, итераций: </source>
            <translation>, iterations: </translation>
        </message>
        <message>
            <source> (предел: набор еще меняется)</source>
            <translation> (the limit: the set still changes)</translation>
        </message>
        <message>
            <source>MAD - медиана абсолютных отклонений от медианы, без множителя 1,4826</source>
            <translation>MAD - median absolute deviation from the median, without the factor 1.4826</translation>
        </message>
        <message>
            <source>RA*cos(Dec), угловые секунды</source>
            <translation>RA*cos(Dec), arcseconds</translation>
        </message>
        <message>
            <source>Dec, угловые секунды</source>
            <translation>Dec, arcseconds</translation>
        </message>
        <message>
            <source>время, секунды</source>
            <translation>time, seconds</translation>
        </message>
        <message>
            <source>отбраковано: </source>
            <translation>rejected: </translation>
        </message>
        <message>
            <source>    запись    O-C RA   O-C Dec  флаг</source>
            <translation>    record    O-C RA   O-C Dec  flag</translation>
        </message>
        <message>
            <source>Справка по работе программы Planova3</source>
            <translation>Planova3 help</translation>
        </message>
        <message>
            <source>Закрыть</source>
            <translation>Close</translation>
        </message>
        <message>
            <source>                      Справка по программе Planova3</source>
            <translation>                      Planova3 help</translation>
        </message>
        <message>
            <source>Форма 1 – Загрузка данных в разных форматах и запись в формате BDL.</source>
            <translation>Form 1 – Loading data in various formats and writing them in the BDL format.</translation>
        </message>
        <message>
            <source> - /создать массивы с N=/ - создает пустые массивы данных с размерностью заданной в соседнем окне для заполнения их данными из файлов или таблиц.</source>
            <translation> - /Create arrays with N=/ - creates empty data arrays of the size given in the box beside it, to be filled with data from files or tables.</translation>
        </message>
        <message>
            <source> - /Загрузить исходные данные из/ - загружает данные из выбранных ниже таблиц (книги .xls, .xlsx или .ods, первый лист; из нескольких с одним именем берется .xls, затем .xlsx, затем .ods) или файлов (JPL, Dov или MPC - 80-колонный формат Центра малых планет, папка FileMPC, даты UTC, положения J2000) с заданным номером и по заданным параметрам и хранит их в памяти в форматах – дата в юлианской дате, долгота и широта в градусах.</source>
            <translation> - /Load source data from/ - loads the data from the tables chosen below (.xls, .xlsx or .ods workbooks, the first sheet; of several with one name the .xls is read, then the .xlsx, then the .ods) or files (JPL, Dov or MPC - the Minor Planet Center's 80-column format, folder FileMPC, dates of UTC, places of J2000), with the given number and parameters, and keeps them in memory as Julian date, longitude and latitude in degrees.</translation>
        </message>
        <message>
            <source> - &lt;File ADES&gt; - наблюдения в формате ADES Центра малых планет (PSV или XML) из папки FileADES: время UTC, прямое восхождение и склонение ICRS, станция и погрешности каждого наблюдения (погрешности пишутся в файл BDL после колонки 158).</source>
            <translation> - &lt;File ADES&gt; - observations in the Minor Planet Center's ADES format (PSV or XML) from the folder FileADES: UTC time, ICRS right ascension and declination, the station and uncertainties of each observation (the uncertainties are written into the BDL file after column 158).</translation>
        </message>
        <message>
            <source> - /Сохранить данные в формате BDL/ - записывает в файл, расширение и номер которого задается ниже, данные в формате BDL (дата - год, месяц, день, часы, минуты, секунды, долгота – часы, минуты, секунды и широта – градусы, минуты, секунды)</source>
            <translation> - /Save as BDL file/ - writes the data in the BDL format (date: year, month, day, hours, minutes, seconds; longitude: hours, minutes, seconds; latitude: degrees, minutes, seconds) to the file whose name part and number are given below.</translation>
        </message>
        <message>
            <source> - /К форме 2/ - перейти к форме 2.</source>
            <translation> - /To form 2/ - go to form 2.</translation>
        </message>
        <message>
            <source> - /About/ - показать эту справку по кнопкам программы.</source>
            <translation> - /About/ - show this help on the buttons of the program.</translation>
        </message>
        <message>
            <source> - /Выход/ - закрыть программу.</source>
            <translation> - /Exit/ - close the program.</translation>
        </message>
        <message>
            <source>Форма 2 – Загрузка данных в формате BDL, преобразование данных и запись в формате BDL.</source>
            <translation>Form 2 – Loading data in the BDL format, transforming them and writing them in the BDL format.</translation>
        </message>
        <message>
            <source> - /создать массивы с N=/ - создает пустые массивы данных с размерностью заданной в соседнем окне для заполнения их данными из файлов.</source>
            <translation> - /Create arrays with N=/ - creates empty data arrays of the size given in the box beside it, to be filled with data from files.</translation>
        </message>
        <message>
            <source> - /Загрузить в формате BDL/ - загружает данные как №1 или №2 из указанного выше номера файла (для заданного объекта наблюдения) с указанным ниже расширением файла, т.е. с указанием типа данных.</source>
            <translation> - /Load BDL file/ - loads the data as set 1 or set 2 from the file number given above (for the given observed object) with the file kind given below, i.e. the type of the data.</translation>
        </message>
        <message>
            <source> - /Почистить/ - убрать дублирующие записи, т.е. те, которые повторяют уже прочитанную ранее запись в данных №1.</source>
            <translation> - /Clean/ - removes duplicate records, i.e. those that repeat a record read before in data set 1.</translation>
        </message>
        <message>
            <source> - /Перевести из эпохи/ - перевести данные №1 из заданной ниже эпохи этих данных в другую эпоху, которая задается еще ниже.</source>
            <translation> - /Convert from epoch/ - converts data set 1 from the epoch of these data given below into another epoch, given further below.</translation>
        </message>
        <message>
            <source> - /DE405/ - рассчитать по эфемеридам DE405 координаты заданного объекта на дату, которая задается в окошках рядом.</source>
            <translation> - /DE405/ - computes the coordinates of the given object from the DE405 ephemeris for the date given in the boxes beside it.</translation>
        </message>
        <message>
            <source> - /Изменить время/ - изменить время наблюдения в данных №1 или на +/- 12 часов или на эфемеридную поправку или на разницу между местным временем и всемирным, т.е. по гринвичу.</source>
            <translation> - /Change time/ - changes the time of observation in data set 1 by +/- 12 hours, by the ephemeris correction (ET-UT), or by the difference between local time and universal (Greenwich) time.</translation>
        </message>
        <message>
            <source> - /Упорядочить данные/ - упорядочить данные №1 по времени наблюдения или начиная с самых первых или начная с самых последних.</source>
            <translation> - /Sort data/ - sorts data set 1 by the time of observation, from the earliest or from the latest.</translation>
        </message>
        <message>
            <source> - /Hor -&gt; Topo/ - преобразовать горизонтальные данные №1 в топоцентрические экваториальные.</source>
            <translation> - /Hor -&gt; Topo/ - converts horizontal data set 1 into topocentric equatorial coordinates.</translation>
        </message>
        <message>
            <source> - /Topo - &gt; Hor/ - преобразовать топоцентрические экваториальные данные №1 в  горизонтальные.</source>
            <translation> - /Topo - &gt; Hor/ - converts topocentric equatorial data set 1 into horizontal coordinates.</translation>
        </message>
        <message>
            <source> - /Topo -&gt; Geo/ - преобразовать топоцентрические экваториальные данные №1 в геоцентрические экваториальные.</source>
            <translation> - /Topo -&gt; Geo/ - converts topocentric equatorial data set 1 into geocentric equatorial coordinates.</translation>
        </message>
        <message>
            <source> - /Geo -&gt; Topo/ - преобразовать геоцентрические экваториальные данные №1 в  топоцентрические экваториальные.</source>
            <translation> - /Geo -&gt; Topo/ - converts geocentric equatorial data set 1 into topocentric equatorial coordinates.</translation>
        </message>
        <message>
            <source> - /Объединить данные 1 и данные 2/ - объединить в одном файле данные 1 загруженные из первого файла и данные 2 загруженные из второго файла.</source>
            <translation> - /Merge data 1 and data 2/ - merges into one set data set 1, loaded from the first file, and data set 2, loaded from the second file.</translation>
        </message>
        <message>
            <source> - /Сравнить данные 1 с данными 2/ - сравнить данные или в двух загруженных файлах или в файле 1 с выбранной для вторых данных теорией (JPL0 или JPL2) или теории JPL0 (данные 1) с теорией JPL2 (данные 2). Данные выводятся в численном виде, если отмечен чекбокс &lt;+Текст&gt;, или в графическом, если отмечен чекбокс &lt;+График&gt;; с чекбоксом &lt;+File&gt; разности записываются в файлы Dat/Param_data_ (.txt и .csv для Python или R) и Dat/Stat. В тексте T1-T2 (sec) - время записи данных 1 минус время совпавшей записи данных 2 в секундах; с теорией время теории - эфемеридное (ET), и T1-T2 = -(ET-UT), одно и то же для близких дат (например, около -64 с в 2000 г.); L1-L2 и B1-B2 (sec) - разности в секундах дуги.</source>
            <translation> - /Compare data 1 with data 2/ - compares either the data of two loaded files, or file 1 with the theory chosen for data 2 (JPL0 or JPL2), or theory JPL0 (data 1) with theory JPL2 (data 2). The results are listed as numbers when the box &lt;+Text&gt; is ticked, and plotted when the box &lt;+Plot&gt; is ticked; with the box &lt;+File&gt; the differences are written to the files Dat/Param_data_ (.txt, and .csv for Python or R) and Dat/Stat. In the text, T1-T2 (sec) is the time of the data-1 record minus the time of the matching data-2 record, in seconds; against a theory the theory's time is ephemeris time (ET), so T1-T2 = -(ET-UT), the same for nearby dates (about -64 s in 2000); L1-L2 and B1-B2 (sec) are the differences in seconds of arc.</translation>
        </message>
        <message>
            <source> - &lt;точно (IAU 2006)&gt; - с теорией JPL2 вычислять теоретические положения строго (IAU 2006/2000A: световое время, отклонение света Солнцем и планетами, релятивистская аберрация, прецессия IAU 2006 и нутация IAU 2000A; эпоха App - истинный экватор и равноденствие даты, J2000 - GCRS, для B1950 остается классическая редукция). AberZ, AberP и Nut входят в строгую редукцию; кнопка DE405 дополнительно выводит астрометрическое и видимое геоцентрические положения.</source>
            <translation> - &lt;precise (IAU 2006)&gt; - with theory JPL2, computes the theoretical places rigorously (IAU 2006/2000A: light time, light deflection by the Sun and the planets, relativistic aberration, IAU 2006 precession and IAU 2000A nutation; epoch App is the true equator and equinox of date, J2000 the GCRS; B1950 keeps the classical reduction). AberZ, AberP and Nut are part of the rigorous reduction; the DE405 button also lists the astrometric and apparent geocentric places.</translation>
        </message>
        <message>
            <source> - &lt;астрометрическое (ICRS)&gt;, &lt;TT-UTC по таблице&gt;, &lt;топоцентр.&gt; - с &lt;точно (IAU 2006)&gt;: астрометрическое место (только световое время, оси ICRS - так измерены положения по опорным звездам, как в файлах MPC и ADES); время TT из таблицы секунд координации (с 1960 г., раньше - модель с 1700); место, видимое со станции каждой записи (код станции в колонке 94 файла BDL, координаты из Observatories.txt или ObsCodes.html папки программы, без кода - обсерватория окна).</source>
            <translation> - &lt;astrometric (ICRS)&gt;, &lt;TT-UTC from the table&gt;, &lt;topocentric&gt; - with &lt;precise (IAU 2006)&gt;: the astrometric place (light time only, ICRS axes - how positions measured against reference stars are given, as in MPC and ADES files); TT from the table of leap seconds (from 1960, before it the model from 1700); the place seen from each record's station (the station code in column 94 of the BDL file, its coordinates from Observatories.txt or ObsCodes.html in the program folder, without a code the window's observatory).</translation>
        </message>
        <message>
            <source> - &lt;отбраковка k·сигма&gt; (k рядом), &lt;совместно&gt;, &lt;исключить №&gt; - в конце сравнения итеративно отбраковать записи, чьи O-C дальше k·сигма от среднего (по каждой координате или совместно), и записи с указанными номерами (вручную; номер после "+" - оставить запись). Сводка (среднее с ошибкой, сигма, rms, медиана, MAD, по станциям и по годам, хи-квадрат при известных весах) выводится в правое окно; с &lt;+File&gt; пишутся Dat/Summary_ (.txt, .csv) и Dat/Residuals_ (.psv, формат ADES). Веса - по погрешностям записей (ADES) или по правилам файла Weights.txt.</source>
            <translation> - &lt;k·sigma rejection&gt; (k beside it), &lt;jointly&gt;, &lt;exclude №&gt; - at the end of a comparison, iteratively reject the records whose O-C lie beyond k·sigma of the mean (in each coordinate or jointly), and the records with the numbers given (by hand; a number after "+" keeps the record). The summary (mean with its error, sigma, rms, median, MAD, by station and by year, chi-square when the weights are known) goes to the right pane; with &lt;+File&gt; Dat/Summary_ (.txt, .csv) and Dat/Residuals_ (.psv, ADES format) are written. Weights come from the records' uncertainties (ADES) or from the rules of Weights.txt.</translation>
        </message>
        <message>
            <source> - /Stop/ - остановить сравнение данных.</source>
            <translation> - /Stop/ - stops the comparison.</translation>
        </message>
        <message>
            <source> - /сделать 1 шаг/ - сравнить следующие данные, если отмечен чекбокс &lt;По шагам&gt;.</source>
            <translation> - /one step/ - compares the next record when the box &lt;Stepwise&gt; is ticked.</translation>
        </message>
        <message>
            <source> - /Показать изменения/ - показывает в численном виде изменения времени, долготы и широты в 1-х, 2-х и 3-их данных или после преобразования 1-ых данных или после объединения 1-ых и 2-ых данных или после сравнения данных.</source>
            <translation> - /Show changes/ - lists the changes of time, longitude and latitude in data sets 1, 2 and 3, after a transformation of data set 1, after the merge of data sets 1 and 2, or after a comparison.</translation>
        </message>
        <message>
            <source> - /Записать результат в/ - записывает преобразованные данные в файл, номер и расширение которого задаются рядом, с № записи в первом окошке по № записи во втором окошке.</source>
            <translation> - /Write result to/ - writes the transformed data to the file whose number and name part are given beside it, from the record number in the first box to the record number in the second box.</translation>
        </message>
        <message>
            <source> - /К форме 3/ - перейти к форме 3</source>
            <translation> - /To form 3/ - go to form 3</translation>
        </message>
        <message>
            <source>Форма 3 – Загрузка данных в формате BDL, корректировка данных и запись в формате BDL.</source>
            <translation>Form 3 – Loading data in the BDL format, correcting them and writing them in the BDL format.</translation>
        </message>
        <message>
            <source> - /создать массивы с N=/ - создает пустые массивы данных с размерностью заданной в соседнем окне для заполнения их данными из файла.</source>
            <translation> - /Create arrays with N=/ - creates empty data arrays of the size given in the box beside it, to be filled with data from a file.</translation>
        </message>
        <message>
            <source> - /Загрузить в формате BDL/ - загружает данные из указанного выше номера файла для заданного объекта наблюдения.</source>
            <translation> - /Load BDL file/ - loads the data from the file number given above for the given observed object.</translation>
        </message>
        <message>
            <source> - /Сравнить данные наблюдений/ - сравнивает данные загруженные из файла или с теорией JPL (как без периодических возмущений - JPL0 так и с частью возмущений - JPL1) или с теорией JPL2 (все возмущения) с записи №1 по запись №2 (или автоматически или по шагам, если отмечен чекбокс &lt;По шагам&gt;). Если отмечен чекбокс &lt;+скорректировать данные&gt;, то наблюдаемые данные изменяются на указанные ниже поправки, а если отмечен чекбокс &lt;+учитывать для dLsr, dBsr&gt;, то в расчет средних значений отклонений по долготе и по широте будут приниматься только те отклонения, которые не выходят за нижеуказанные интервалы. Отклонения и их средние записываются в файл Dat/Dev_data_ (.csv для Python или R).</source>
            <translation> - /Compare observations with/ - compares the data loaded from the file with the JPL theory (without periodic perturbations, JPL0, or with some of them, JPL1) or with theory JPL2 (all perturbations) from record No.1 to record No.2 (all at once, or step by step when the box &lt;Stepwise&gt; is ticked). When the box &lt;+correct data&gt; is ticked, the observations are changed by the corrections given below; when the box &lt;+use for dLsr, dBsr&gt; is ticked, only the deviations within the intervals given below count in the mean deviations in longitude and latitude. The deviations and their means are written to the file Dat/Dev_data_ (.csv for Python or R).</translation>
        </message>
        <message>
            <source> - &lt;точно (IAU 2006)&gt; - с теорией JPL2 вычислять теоретические положения строго (IAU 2006/2000A), как в форме 2.</source>
            <translation> - &lt;precise (IAU 2006)&gt; - with theory JPL2, computes the theoretical places rigorously (IAU 2006/2000A), as in form 2.</translation>
        </message>
        <message>
            <source> - /Подобрать поправку (МНК)/ - после сравнения подбирает методом наименьших квадратов поправку, меняющуюся линейно со временем: по отклонениям записей с №1 по №2 (для прямого восхождения и склонения отдельно, только отклонения в интервалах, если отмечен чекбокс &lt;+учитывать для dLsr, dBsr&gt;) - смещение на среднюю дату и дрейф в секундах дуги за год, их ошибки и ковариация, rms остатков; с весами, обратными квадратам ошибок, если у записей есть ошибки (rmsRA, rmsDec файлов ADES), иначе с равными весами и ошибками по разбросу. Результат выводится в окне под рисунком, а в окошки dLn, dLk, dBn, dBk записывается поправка на даты записей №1 и №2, снимающая эту прямую: отметьте &lt;+скорректировать данные&gt; и сравните снова.</source>
            <translation> - /Fit correction (LSQ)/ - after a comparison, fits by least squares a correction that changes linearly in time: to the deviations of records №1 to №2 (right ascension and declination apart; with the check box &lt;+ use for dLsr, dBsr&gt; only the deviations within the limits) - the offset at the mean date and the drift in arcseconds a year, their uncertainties and covariance, the rms of the residuals; weighted by the inverse squares of the uncertainties when the records carry their uncertainties (rmsRA, rmsDec of ADES files), else with equal weights and uncertainties from the scatter. The result is shown in the pane below the plot, and the boxes dLn, dLk, dBn, dBk get the correction at the dates of records №1 and №2 that removes this line: tick &lt;+ correct data&gt; and compare again.</translation>
        </message>
        <message>
            <source> - &lt;отбраковка k·сигма&gt; (k рядом), &lt;совместно&gt; - в конце сравнения отбраковать записи дальше k·сигма от среднего: сводка выводится в окно, отбракованные записи помечаются на рисунке и не входят в подбор поправки.</source>
            <translation> - &lt;k·sigma rejection&gt; (k beside it), &lt;jointly&gt; - at the end of a comparison, reject the records beyond k·sigma of the mean: the summary goes to the window, the rejected records are marked on the plot and left out of the fitted correction.</translation>
        </message>
        <message>
            <source> - /Остановить сравнение/ - останавливает сравнение данных.</source>
            <translation> - /Stop comparison/ - stops the comparison.</translation>
        </message>
        <message>
            <source> - /Записать результат в файл/ - записывает или исходные данные или уже скорректированные в файл, номер которого задается рядом, с записи №1 по запись №2, которые задаются выше в соответствующих окошках.</source>
            <translation> - /Write result to file/ - writes the original or the corrected data, from record No.1 to record No.2 given in the boxes above, to the file whose number is given beside it.</translation>
        </message>
        <message>
            <source> - /Закрыть форму/ - закрывает только форму корректировки данных, а предыдущие две формы остаются загруженными в память компьютера.</source>
            <translation> - /Close form/ - closes only the correction form; the two other forms stay loaded in memory.</translation>
        </message>
        <message>
            <source>Мышь и клавиатура.</source>
            <translation>Mouse and keyboard.</translation>
        </message>
        <message>
            <source> - На рисунке формы 3 щелчок левой кнопкой выбирает запись №1, щелчок правой кнопкой - запись №2: последнюю запись данных, дата которой не позже даты в месте щелчка (на рисунке она отмечается красной чертой); ее номер записывается в окошко &lt;с №1&gt; или &lt;по №2&gt;, а ее год, месяц и день - в окошки &lt;№1: год, месяц, день&gt; или &lt;№2: год, месяц, день&gt;.</source>
            <translation> - On the plot of form 3 a left click picks record No.1 and a right click record No.2: the last record of the data whose date is not later than the date at the click (the plot marks it with a red line); its number goes into the box &lt;No.1&gt; or &lt;No.2&gt;, and its year, month and day into the boxes &lt;No.1: year, month, day&gt; or &lt;No.2: year, month, day&gt;.</translation>
        </message>
        <message>
            <source> - Рисунки форм 2 и 3: &lt;по данным&gt; - масштабы по данным сравнения (время и разности занимают весь рисунок; окошки масштабов не учитываются); каждое новое сравнение начинается на чистом рисунке (в форме 2 без &lt;+ очистка рисунка&gt; - поверх прежнего только при тех же масштабах); точка за пределами сетки показана треугольником ее цвета на краю сетки. Колесо мыши увеличивает или уменьшает рисунок около указателя, перетаскивание левой (или средней) кнопкой сдвигает увеличенный рисунок; указатель на точке показывает номер записи, дату и O-C; в форме 3 выбор записи - щелчок без перетаскивания, при любом увеличении. Меню рисунка открывается щелчком правой кнопки на рисунке формы 2, а на рисунке формы 3 - щелчком правой кнопки с нажатой клавишей Ctrl: /Сохранить рисунок как PNG…/ или /Сохранить рисунок как SVG…/ - записать рисунок заданного размера в пикселях (сначала 1600 x 900) в выбранный файл (по умолчанию в папке Dat; расширение добавляется к имени без него); /Показать весь рисунок/ - убрать увеличение.</source>
            <translation> - The plots of forms 2 and 3: &lt;fit to data&gt; - scales from the compared data (time and differences fill the whole plot; the scale boxes are not used); every new comparison starts on a clean plot (in form 2 without &lt;+ clear plot&gt; it is drawn over the previous one only with the same scales); a point beyond the grid is shown as a triangle of its colour on the grid's edge. The mouse wheel zooms the plot in or out about the pointer, dragging with the left (or middle) button moves the zoomed plot; the pointer on a point shows the record number, date and O-C; in form 3 a record is picked by a click without dragging, at any zoom. The plot's menu opens with a right click on the plot of form 2, and with a right click holding Ctrl on the plot of form 3: /Save the plot as PNG…/ or /Save the plot as SVG…/ - writes the plot at a given size in pixels (at first 1600 x 900) to the chosen file (in the folder Dat at first; the extension is added to a name without one); /Show the whole plot/ - removes the zoom.</translation>
        </message>
        <message>
            <source> - Enter в окошке выполняет главную кнопку рядом с ним (например, загрузку при вводе номера файла), Tab переходит к следующему окошку, Alt с подчеркнутой буквой нажимает кнопку; подсказка к окошку (что в нем и в каких единицах) появляется, если задержать над ним указатель мыши.</source>
            <translation> - Enter in a box presses the main button beside it (for example, the load after typing the file number), Tab goes to the next box, Alt with the underlined letter presses a button; the tip of a box (what it holds and in which units) appears when the mouse pointer rests over it.</translation>
        </message>
        <message>
            <source> - Файлы: /Открыть…/ рядом с номером файла (формы 1, 2, 3) открывает выбор файла в нужной папке (FileDov, FileJPL, FileMPC, FileADES, Tab&lt;код&gt;, Obs&lt;код&gt;) и заполняет окошки по имени выбранного файла (файл из другой папки или с именем не по правилам программы не принимается, окошки не меняются); /Выбрать…/ рядом с &lt;в файл&gt; выбирает файл BDL, который запишет сохранение; /Недавние/ - последние 8 файлов, загруженных или записанных формой; /По умолчанию/ - вернуть всем окошкам формы начальные значения. Положение и размер окон, введенные значения и недавние файлы программа помнит между запусками (в пакетном режиме - нет). Esc закрывает эту справку.</source>
            <translation> - Files: /Open…/ beside a file number (forms 1, 2, 3) opens a file dialog in the right folder (FileDov, FileJPL, FileMPC, FileADES, Tab&lt;code&gt;, Obs&lt;code&gt;) and fills the boxes from the chosen file's name (a file from another folder or with a name not made by the program's rules is refused and the boxes do not change); /Choose…/ beside &lt;to file&gt; chooses the BDL file the save will write; /Recent/ - the last 8 files the form loaded or wrote; /Restore defaults/ - puts every box of the form back to its starting value. The program remembers window positions and sizes, typed values and recent files between starts (not in batch mode). Esc closes this help.</translation>
        </message>
        <message>
            <source> (строка </source>
            <translation> (line </translation>
        </message>
        <message>
            <source>это не файл ADES PSV: первая строка не "# version=2017"</source>
            <translation>not an ADES PSV file: the first line is not "# version=2017"</translation>
        </message>
        <message>
            <source>версия ADES не 2017 и не 2022</source>
            <translation>ADES version neither 2017 nor 2022</translation>
        </message>
        <message>
            <source>в файле ADES нет записи ключей</source>
            <translation>the ADES file has no keyword record</translation>
        </message>
        <message>
            <source>в записи ключей ADES неизвестное поле "</source>
            <translation>unknown field in the ADES keyword record: "</translation>
        </message>
        <message>
            <source>в записи ключей ADES поле "</source>
            <translation>the ADES keyword record repeats the field "</translation>
        </message>
        <message>
            <source>" повторено</source>
            <translation>"</translation>
        </message>
        <message>
            <source>в записи ключей ADES нет поля "</source>
            <translation>the ADES keyword record lacks the field "</translation>
        </message>
        <message>
            <source>число полей записи не то, что в записи ключей</source>
            <translation>the record has not as many fields as the keyword record</translation>
        </message>
        <message>
            <source>файл ADES XML с объявлением DTD не читается</source>
            <translation>an ADES XML file with a DTD declaration is not read</translation>
        </message>
        <message>
            <source>в файле ADES XML элементы вложены глубже </source>
            <translation>the ADES XML file nests its elements deeper than </translation>
        </message>
        <message>
            <source>это не файл ADES XML: нет элемента &lt;ades version=...&gt;</source>
            <translation>not an ADES XML file: no &lt;ades version=...&gt; element</translation>
        </message>
        <message>
            <source>поле записи повторено</source>
            <translation>a field of the record is repeated</translation>
        </message>
        <message>
            <source>файл ADES XML испорчен: </source>
            <translation>the ADES XML file is damaged: </translation>
        </message>
        <message>
            <source>место наблюдателя дано в записи (sys): спутник или подвижный наблюдатель</source>
            <translation>the observer's place is given in the record (sys): a satellite or roving observer</translation>
        </message>
        <message>
            <source>нет obsTime, ra или dec</source>
            <translation>no obsTime, ra or dec</translation>
        </message>
        <message>
            <source>ra не число</source>
            <translation>ra is no number</translation>
        </message>
        <message>
            <source>dec не число</source>
            <translation>dec is no number</translation>
        </message>
        <message>
            <source>rmsRA не число</source>
            <translation>rmsRA is no number</translation>
        </message>
        <message>
            <source>rmsDec не число</source>
            <translation>rmsDec is no number</translation>
        </message>
        <message>
            <source>rmsRA или rmsDec не от 0.000001 до 1000000</source>
            <translation>rmsRA or rmsDec not from 0.000001 to 1000000</translation>
        </message>
        <message>
            <source>rmsCorr не число от -1 до 1</source>
            <translation>rmsCorr is no number from -1 to 1</translation>
        </message>
        <message>
            <source>precTime, precRA или precDec не число</source>
            <translation>precTime, precRA or precDec is no number</translation>
        </message>
        <message>
            <source>obsTime не время ISO 8601 UTC (2023-04-05T06:07:08.123Z)</source>
            <translation>obsTime is no ISO 8601 UTC time (2023-04-05T06:07:08.123Z)</translation>
        </message>
        <message>
            <source>ra вне 0..360</source>
            <translation>ra outside 0..360</translation>
        </message>
        <message>
            <source>dec вне -90..90</source>
            <translation>dec outside -90..90</translation>
        </message>
        <message>
            <source>Не найден файл  </source>
            <translation>File not found  </translation>
        </message>
        <message>
            <source>Ошибка чтения данных из файла</source>
            <translation>Error reading data from file</translation>
        </message>
        <message>
            <source>строка </source>
            <translation>line </translation>
        </message>
        <message>
            <source>дата вне календаря</source>
            <translation>date outside the calendar</translation>
        </message>
        <message>
            <source>прямое восхождение: часы вне 0..23</source>
            <translation>right ascension: hours outside 0..23</translation>
        </message>
        <message>
            <source>прямое восхождение: минуты или секунды вне 0..60</source>
            <translation>right ascension: minutes or seconds outside 0..60</translation>
        </message>
        <message>
            <source>долгота: минуты или секунды вне 0..60</source>
            <translation>longitude: minutes or seconds outside 0..60</translation>
        </message>
        <message>
            <source>долгота или прямое восхождение вне 0..360</source>
            <translation>longitude or right ascension outside 0..360</translation>
        </message>
        <message>
            <source>склонение: минуты или секунды вне 0..60</source>
            <translation>declination: minutes or seconds outside 0..60</translation>
        </message>
        <message>
            <source>склонение или широта вне ±90</source>
            <translation>declination or latitude beyond ±90</translation>
        </message>
        <message>
            <source>наблюдение со спутника: место наблюдателя во второй строке</source>
            <translation>observation from a satellite: the observer's place is on the second line</translation>
        </message>
        <message>
            <source>вторая строка наблюдения со спутника</source>
            <translation>second line of an observation from a satellite</translation>
        </message>
        <message>
            <source>наблюдение подвижного наблюдателя</source>
            <translation>observation by a roving observer</translation>
        </message>
        <message>
            <source>вторая строка подвижного наблюдателя</source>
            <translation>second line of a roving observer</translation>
        </message>
        <message>
            <source>радарное наблюдение</source>
            <translation>radar observation</translation>
        </message>
        <message>
            <source>короткая строка: нет места</source>
            <translation>short line: no place</translation>
        </message>
        <message>
            <source>нет такого месяца</source>
            <translation>no such month</translation>
        </message>
        <message>
            <source>нет такого дня в месяце</source>
            <translation>no such day in the month</translation>
        </message>
        <message>
            <source>Ошибка записи в файл</source>
            <translation>Error writing file</translation>
        </message>
        <message>
            <source>в файл   </source>
            <translation>to file   </translation>
        </message>
        <message>
            <source>плохие данные в таблице или файле</source>
            <translation>bad data in the table or file</translation>
        </message>
        <message>
            <source>увеличьте массив данных</source>
            <translation>enlarge the data array</translation>
        </message>
        <message>
            <source>задайте правильно данные</source>
            <translation>enter valid data</translation>
        </message>
        <message>
            <source>исходная запись данных</source>
            <translation>source records</translation>
        </message>
        <message>
            <source>распознанные программой записи</source>
            <translation>records read by the program</translation>
        </message>
        <message>
            <source>ЗАБРАКОВАННЫЕ ПРОГРАММОЙ ЗАПИСИ</source>
            <translation>RECORDS REJECTED BY THE PROGRAM</translation>
        </message>
        <message>
            <source>Таблица не читается: это не книга .xlsx или .ods  </source>
            <translation>The table cannot be read: it is not an .xlsx or .ods workbook  </translation>
        </message>
        <message>
            <source>Таблица защищена паролем: сохраните ее без пароля  </source>
            <translation>The table is protected by a password: save it without one  </translation>
        </message>
        <message>
            <source>Таблица в формате Strict Open XML: сохраните ее как книгу Excel (.xlsx)  </source>
            <translation>The table is in Strict Open XML: save it as an Excel workbook (.xlsx)  </translation>
        </message>
        <message>
            <source>В таблице нет ни одного листа  </source>
            <translation>The table has no sheet  </translation>
        </message>
        <message>
            <source>Таблица повреждена и не читается  </source>
            <translation>The table is damaged and cannot be read  </translation>
        </message>
        <message>
            <source>Книга слишком велика (предел 32 МБ)  </source>
            <translation>The workbook is too large (limit 32 MB)  </translation>
        </message>
        <message>
            <source>Не найдена таблица  </source>
            <translation>Table not found  </translation>
        </message>
        <message>
            <source>неизвестный код станции</source>
            <translation>unknown station code</translation>
        </message>
        <message>
            <source>у станции нет координат (космический или подвижный наблюдатель)</source>
            <translation>the station has no coordinates (a space or roving observer)</translation>
        </message>
        <message>
            <source>Файл не в папке программы: </source>
            <translation>The file is not in the application folder: </translation>
        </message>
        <message>
            <source>Файл не в папке </source>
            <translation>The file is not in the folder </translation>
        </message>
        <message>
            <source>Имя файла не по образцу </source>
            <translation>The file name does not follow the pattern </translation>
        </message>
        <message>
            <source>Недавних файлов нет</source>
            <translation>No recent files</translation>
        </message>
        <message>
            <source>Файла нет в списке недавних: </source>
            <translation>The file is not among the recent ones: </translation>
        </message>
        <message>
            <source>Недавние файлы</source>
            <translation>Recent files</translation>
        </message>
        <message>
            <source>Загруженные данные пишутся только в </source>
            <translation>The data loaded are written only to </translation>
        </message>
        <message>
            <source>Obs&lt;код&gt;</source>
            <translation>Obs&lt;code&gt;</translation>
        </message>
        <message>
            <source>&lt;код&gt;&lt;объект&gt;_&lt;имя&gt;.txt</source>
            <translation>&lt;code&gt;&lt;object&gt;_&lt;name&gt;.txt</translation>
        </message>
        <message>
            <source>Введите правильно дату</source>
            <translation>Enter a valid date</translation>
        </message>
        <message>
            <source>Введите правильно юлианскую дату</source>
            <translation>Enter a valid Julian date</translation>
        </message>
        <message>
            <source>точно (IAU 2006) — только для JPL2 и эпох App, J2000: </source>
            <translation>precise (IAU 2006) — only for JPL2 and epochs App, J2000: </translation>
        </message>
        <message>
            <source> — классическая редукция</source>
            <translation> — classical reduction</translation>
        </message>
        <message>
            <source>у кода нет координат (космический или подвижный наблюдатель)</source>
            <translation>the code has no coordinates (a space or roving observer)</translation>
        </message>
        <message>
            <source>код не найден ни в Observatories.txt, ни в ObsCodes.html</source>
            <translation>the code is neither in Observatories.txt nor in ObsCodes.html</translation>
        </message>
        <message>
            <source>Станция "</source>
            <translation>Station "</translation>
        </message>
        <message>
            <source>" (запись </source>
            <translation>" (record </translation>
        </message>
        <message>
            <source>топоцентр. - только с "точно (IAU 2006)", JPL2 и эпохой App или J2000: место геоцентрическое</source>
            <translation>topocentric - only with "precise (IAU 2006)", JPL2 and epoch App or J2000: the place is geocentric</translation>
        </message>
        <message>
            <source>Сначала создайте массивы данных (кнопка "Создать массивы с N=")</source>
            <translation>Create the data arrays first (button "Create arrays with N=")</translation>
        </message>
        <message>
            <source>В файлах DE405 нет такой даты</source>
            <translation>The DE405 files do not hold this date</translation>
        </message>
        <message>
            <source>В файлах </source>
            <translation>Not in the files of </translation>
        </message>
        <message>
            <source> нет такой даты</source>
            <translation>: no such date</translation>
        </message>
        <message>
            <source>Ошибка чтения файлов JPL DE405</source>
            <translation>Error reading the JPL DE405 files</translation>
        </message>
        <message>
            <source>Ошибка чтения файлов JPL </source>
            <translation>Error reading the JPL files </translation>
        </message>
        <message>
            <source>файлов DE405 (ascpГГГГ.405) нет</source>
            <translation>no DE405 files (ascpYYYY.405)</translation>
        </message>
        <message>
            <source>нет файлов эфемериды </source>
            <translation>no files of the ephemeris </translation>
        </message>
        <message>
            <source>файлы DE405 охватывают годы </source>
            <translation>the DE405 files cover the years </translation>
        </message>
        <message>
            <source>годы в файлах </source>
            <translation>years in the files of </translation>
        </message>
        <message>
            <source> — файла нет</source>
            <translation> — no such file</translation>
        </message>
        <message>
            <source>&#13;
DE405 охватывает годы </source>
            <translation>&#13;
DE405 covers the years </translation>
        </message>
        <message>
            <source>: файлы </source>
            <translation>: files </translation>
        </message>
        <message>
            <source>&#13;
годы эфемериды </source>
            <translation>&#13;
years of the ephemeris </translation>
        </message>
        <message>
            <source>, файлы </source>
            <translation>, files </translation>
        </message>
        <message>
            <source>записано  </source>
            <translation>written  </translation>
        </message>
        <message>
            <source>  записей в </source>
            <translation>  records to </translation>
        </message>
        <message>
            <source>данные не загружены</source>
            <translation>no data loaded</translation>
        </message>
        <message>
            <source>загружено: </source>
            <translation>loaded: </translation>
        </message>
        <message>
            <source> записей</source>
            <translation> records</translation>
        </message>
        <message>
            <source>записано: </source>
            <translation>written: </translation>
        </message>
        <message>
            <source> уже есть (</source>
            <translation> already exists (</translation>
        </message>
        <message>
            <source> записей). Заменить его </source>
            <translation> records). Replace it with </translation>
        </message>
        <message>
            <source> записями?</source>
            <translation> records?</translation>
        </message>
        <message>
            <source>Есть незаписанные данные (</source>
            <translation>There is unwritten data (</translation>
        </message>
        <message>
            <source>). Выйти без записи?</source>
            <translation>). Quit without writing it?</translation>
        </message>
        <message>
            <source>Ошибка записи в файл&#13;
</source>
            <translation>Error writing file&#13;
</translation>
        </message>
        <message>
            <source>&#13;
эфемериды: </source>
            <translation>&#13;
ephemerides: </translation>
        </message>
        <message>
            <source>Папки программы нет:&#13;
</source>
            <translation>The application folder does not exist:&#13;
</translation>
        </message>
        <message>
            <source>Obs… — папки наблюдений Obs&lt;код&gt; (например ObsPARI)</source>
            <translation>Obs… — observation folders Obs&lt;code&gt; (for example ObsPARI)</translation>
        </message>
        <message>
            <source>Tab… — папки таблиц Tab&lt;код&gt; (например TabPARI)</source>
            <translation>Tab… — table folders Tab&lt;code&gt; (for example TabPARI)</translation>
        </message>
        <message>
            <source>FileJPL — исходные файлы JPL</source>
            <translation>FileJPL — JPL source files</translation>
        </message>
        <message>
            <source>FileDov — исходные файлы Dov</source>
            <translation>FileDov — Dov source files</translation>
        </message>
        <message>
            <source>FileMPC — исходные файлы MPC</source>
            <translation>FileMPC — MPC source files</translation>
        </message>
        <message>
            <source>Dat — файлы результатов</source>
            <translation>Dat — result files</translation>
        </message>
        <message>
            <source>JPL — файлы DE405</source>
            <translation>JPL — DE405 files</translation>
        </message>
        <message>
            <source>&#13;
  JPL/ascpГГГГ.405 — файлы DE405 (их делает scripts/install_de405.sh ПАПКА/JPL)</source>
            <translation>&#13;
  JPL/ascpYYYY.405 — DE405 files (made by scripts/install_de405.sh FOLDER/JPL)</translation>
        </message>
        <message>
            <source>В папке программы&#13;
</source>
            <translation>The application folder&#13;
</translation>
        </message>
        <message>
            <source>&#13;
нет:</source>
            <translation>&#13;
lacks:</translation>
        </message>
        <message>
            <source>Создать стандартные папки?</source>
            <translation>Create the standard folders?</translation>
        </message>
        <message>
            <source>Стандартные папки создаёт команда planova3 --init </source>
            <translation>The command planova3 --init makes the standard folders: planova3 --init </translation>
        </message>
        <message>
            <source>Не удалось создать папку&#13;
</source>
            <translation>Could not create the folder&#13;
</translation>
        </message>
        <message>
            <source>Число строк массивов наблюдений, которые создает кнопка "Создать массивы с N=" (целое)</source>
            <translation>Rows of the observation arrays that "Create arrays with N=" creates (a whole number)</translation>
        </message>
        <message>
            <source>Код обсерватории, с которого начинаются имена файлов (например PARI)</source>
            <translation>The observatory's code that the file names begin with (for example PARI)</translation>
        </message>
        <message>
            <source>Номер объекта наблюдения в именах файлов (например 11)</source>
            <translation>The number of the observed object in the file names (for example 11)</translation>
        </message>
        <message>
            <source>Номер таблицы или файла, которые загружает кнопка "Загрузить исходные данные из"; Enter - загрузить</source>
            <translation>The number of the table or file that "Load source data from" loads; Enter loads it</translation>
        </message>
        <message>
            <source>Сколько записей прочитано при последней загрузке (заполняет программа)</source>
            <translation>Records read by the last load (filled in by the program)</translation>
        </message>
        <message>
            <source>Сколько записей распознано при последней загрузке (заполняет программа)</source>
            <translation>Records recognised by the last load (filled in by the program)</translation>
        </message>
        <message>
            <source>Сколько записей забраковано при последней загрузке (заполняет программа)</source>
            <translation>Records rejected by the last load (filled in by the program)</translation>
        </message>
        <message>
            <source>Буква столбца таблицы, в котором лежит поле, подписанное над окошком</source>
            <translation>The letter of the table column that holds the field named above the box</translation>
        </message>
        <message>
            <source>Часть имени файла BDL после кода обсерватории, номера объекта и "_"</source>
            <translation>The part of the BDL file name after the observatory code, the object number and "_"</translation>
        </message>
        <message>
            <source>Метка шкалы времени в записях BDL (UT, ET)</source>
            <translation>The time-scale mark of the BDL records (UT, ET)</translation>
        </message>
        <message>
            <source>Метка эпохи координат в записях BDL (App - видимые на дату, J2000, B1950)</source>
            <translation>The epoch mark of the coordinates of the BDL records (App - apparent of date, J2000, B1950)</translation>
        </message>
        <message>
            <source>Инструмент, которым сделаны наблюдения (текст в записях BDL)</source>
            <translation>The instrument of the observations (text in the BDL records)</translation>
        </message>
        <message>
            <source>Фокусное расстояние инструмента, сантиметры</source>
            <translation>The instrument's focal length, centimetres</translation>
        </message>
        <message>
            <source>Вид наблюдений: Trans (меридианные), Micro (микрометр), Photo (фотография), CCD</source>
            <translation>Kind of observations: Trans (transit), Micro (micrometer), Photo (photographic), CCD</translation>
        </message>
        <message>
            <source>Наблюдавшийся край диска: C (центр), N, S, E или W</source>
            <translation>The limb observed: C (centre), N, S, E or W</translation>
        </message>
        <message>
            <source>Положение зажима инструмента: E или W</source>
            <translation>The instrument's clamp: E or W</translation>
        </message>
        <message>
            <source>Инициалы наблюдателя</source>
            <translation>The observer's initials</translation>
        </message>
        <message>
            <source>Ссылка на публикацию наблюдений</source>
            <translation>The reference to the publication of the observations</translation>
        </message>
        <message>
            <source>День месяца с дробной частью (1,5 - полдень) для перевода в юлианскую дату кнопкой G-&gt;J</source>
            <translation>Day of the month with its fraction (1,5 - noon), turned into a Julian date by G-&gt;J</translation>
        </message>
        <message>
            <source>Месяц (1-12) для перевода в юлианскую дату</source>
            <translation>Month (1-12), turned into a Julian date</translation>
        </message>
        <message>
            <source>Год для перевода в юлианскую дату</source>
            <translation>Year, turned into a Julian date</translation>
        </message>
        <message>
            <source>Юлианская дата, сутки, для перевода в календарную дату кнопкой J-&gt;G</source>
            <translation>Julian date, days, turned into a calendar date by J-&gt;G</translation>
        </message>
        <message>
            <source>Число строк массивов данных, которые создает кнопка "Создать массивы с N=" (целое)</source>
            <translation>Rows of the data arrays that "Create arrays with N=" creates (a whole number)</translation>
        </message>
        <message>
            <source>Номер файла BDL, который загружает кнопка "Загрузить в формате BDL"; Enter - загрузить</source>
            <translation>The number of the BDL file that "Load BDL file" loads; Enter loads it</translation>
        </message>
        <message>
            <source>Долгота обсерватории, градусы</source>
            <translation>The observatory's longitude, degrees</translation>
        </message>
        <message>
            <source>Широта обсерватории, градусы</source>
            <translation>The observatory's latitude, degrees</translation>
        </message>
        <message>
            <source>Метка шкалы времени загруженных данных (UT, ET)</source>
            <translation>The time-scale mark of the loaded data (UT, ET)</translation>
        </message>
        <message>
            <source>Метка эпохи координат загруженных данных (App, J2000, B1950)</source>
            <translation>The epoch mark of the coordinates of the loaded data (App, J2000, B1950)</translation>
        </message>
        <message>
            <source>Номер первой записи, которую пишет кнопка "Записать результат в"</source>
            <translation>The number of the first record that "Write result to" writes</translation>
        </message>
        <message>
            <source>Номер последней записи, которую пишет кнопка "Записать результат в"</source>
            <translation>The number of the last record that "Write result to" writes</translation>
        </message>
        <message>
            <source>Имя файла результата после приставки, показанной слева</source>
            <translation>The result file's name after the prefix shown on the left</translation>
        </message>
        <message>
            <source>Допуск по времени, секунды: записи, которые ближе по времени, считаются одной датой (Почистить, Объединить, Сравнить)</source>
            <translation>Time tolerance, seconds: records closer in time count as one date (Clean, Merge, Compare)</translation>
        </message>
        <message>
            <source>ET-UT, секунды, последнего изменения времени или теоретического места; после "LT- UT" - LT-UT, часы (заполняет программа)</source>
            <translation>ET-UT, seconds, of the last time change or theoretical place; after "LT- UT" LT-UT, hours (filled in by the program)</translation>
        </message>
        <message>
            <source>Год даты: эпохи Other, первой записи данных JPL0, кнопки DE405</source>
            <translation>Year of the date: of the epoch Other, of the first record of JPL0 data, of the DE405 button</translation>
        </message>
        <message>
            <source>Месяц (1-12) той же даты</source>
            <translation>Month (1-12) of the same date</translation>
        </message>
        <message>
            <source>День месяца с дробной частью (1,5 - полдень) той же даты</source>
            <translation>Day of the month with its fraction (1,5 - noon) of the same date</translation>
        </message>
        <message>
            <source>Год последней записи данных 1, созданных по теории JPL0</source>
            <translation>Year of the last record of data 1 made from the JPL0 theory</translation>
        </message>
        <message>
            <source>Годичная аберрация последней записи, угловые секунды (заполняет программа)</source>
            <translation>Annual aberration of the last record, arcseconds (filled in by the program)</translation>
        </message>
        <message>
            <source>Планетная аберрация (световое время) последней записи, угловые секунды (заполняет программа)</source>
            <translation>Planetary aberration (light time) of the last record, arcseconds (filled in by the program)</translation>
        </message>
        <message>
            <source>Рефракция последней записи, угловые секунды (заполняет программа)</source>
            <translation>Refraction of the last record, arcseconds (filled in by the program)</translation>
        </message>
        <message>
            <source>Нутация последней записи, угловые секунды (заполняет программа)</source>
            <translation>Nutation of the last record, arcseconds (filled in by the program)</translation>
        </message>
        <message>
            <source>Масштаб рисунка по времени, лет на сантиметр</source>
            <translation>The plot's time scale, years per centimetre</translation>
        </message>
        <message>
            <source>Масштаб рисунка по разностям, угловых секунд на сантиметр (для dT - секунд времени)</source>
            <translation>The plot's scale of the differences, arcseconds per centimetre (for dT seconds of time)</translation>
        </message>
        <message>
            <source>Сдвиг нулевой линии рисунка, угловые секунды (для dT - секунды времени)</source>
            <translation>The shift of the plot's zero line, arcseconds (for dT seconds of time)</translation>
        </message>
        <message>
            <source>Масштабы рисунка по данным прогона: время и разности занимают весь рисунок (окошки MT, MdP и +dP не учитываются)</source>
            <translation>Plot scales from the run's data: time and differences fill the whole plot (the MT, MdP and +dP boxes are not used)</translation>
        </message>
        <message>
            <source>Номер цвета точек dL на рисунке (0-13)</source>
            <translation>Colour number of the dL points on the plot (0-13)</translation>
        </message>
        <message>
            <source>Номер цвета точек dB на рисунке (0-13)</source>
            <translation>Colour number of the dB points on the plot (0-13)</translation>
        </message>
        <message>
            <source>Номер цвета точек dT на рисунке (0-13)</source>
            <translation>Colour number of the dT points on the plot (0-13)</translation>
        </message>
        <message>
            <source>k отбраковки: записи, чьи O-C дальше k сигм от среднего, не входят в сводку</source>
            <translation>k of the clipping: records whose O-C lie more than k sigma from the mean are left out of the summary</translation>
        </message>
        <message>
            <source>Номера записей, исключаемых из сводки вручную, и их диапазоны через точку с запятой (5; 12-14); +N - оставить запись N</source>
            <translation>Numbers and ranges of records left out of the summary by hand, separated by semicolons (5; 12-14); +N keeps record N</translation>
        </message>
        <message>
            <source>Что сделала последняя операция. В строках сравнения T1-T2 (sec) - время записи данных 1 минус время совпавшей с ней записи данных 2, секунды (с теорией - минус ET-UT, когда время теории переведено в ET); L1-L2 и B1-B2 (sec) - разности долгот и широт, угловые секунды</source>
            <translation>What the last operation did. In the comparison lines T1-T2 (sec) is the time of the record of data 1 minus the time of the record of data 2 matched with it, seconds (with a theory minus ET-UT, when the theory's time is turned into ET); L1-L2 and B1-B2 (sec) are the differences of longitude and latitude, arcseconds</translation>
        </message>
        <message>
            <source>Номер файла, в который кнопка "Записать результат в файл" пишет записи с №1 по №2</source>
            <translation>The number of the file that "Write result to file" writes records No.1 to No.2 into</translation>
        </message>
        <message>
            <source>Номер записи №1, первой для сравнения и записи в файл (левый щелчок на рисунке)</source>
            <translation>Record No.1, the first one compared and written (a left click on the plot)</translation>
        </message>
        <message>
            <source>Номер записи №2, последней для сравнения и записи в файл (правый щелчок на рисунке)</source>
            <translation>Record No.2, the last one compared and written (a right click on the plot)</translation>
        </message>
        <message>
            <source>Год записи №1</source>
            <translation>Year of record No.1</translation>
        </message>
        <message>
            <source>Месяц записи №1</source>
            <translation>Month of record No.1</translation>
        </message>
        <message>
            <source>День записи №1 с дробной частью</source>
            <translation>Day of record No.1 with its fraction</translation>
        </message>
        <message>
            <source>Год записи №2</source>
            <translation>Year of record No.2</translation>
        </message>
        <message>
            <source>Месяц записи №2</source>
            <translation>Month of record No.2</translation>
        </message>
        <message>
            <source>День записи №2 с дробной частью</source>
            <translation>Day of record No.2 with its fraction</translation>
        </message>
        <message>
            <source>Год записи, которая сравнивается сейчас (заполняет программа)</source>
            <translation>Year of the record compared now (filled in by the program)</translation>
        </message>
        <message>
            <source>Месяц записи, которая сравнивается сейчас (заполняет программа)</source>
            <translation>Month of the record compared now (filled in by the program)</translation>
        </message>
        <message>
            <source>День записи, которая сравнивается сейчас (заполняет программа)</source>
            <translation>Day of the record compared now (filled in by the program)</translation>
        </message>
        <message>
            <source>Сколько записей сравнено (заполняет программа)</source>
            <translation>Records compared (filled in by the program)</translation>
        </message>
        <message>
            <source>ET-UT сравниваемой записи, секунды (заполняет программа)</source>
            <translation>ET-UT of the record compared, seconds (filled in by the program)</translation>
        </message>
        <message>
            <source>Поправка долготы на дату записи №1, угловые секунды (между №1 и №2 меняется линейно)</source>
            <translation>Longitude correction at the date of record No.1, arcseconds (linear between No.1 and No.2)</translation>
        </message>
        <message>
            <source>Поправка долготы на дату записи №2, угловые секунды</source>
            <translation>Longitude correction at the date of record No.2, arcseconds</translation>
        </message>
        <message>
            <source>Поправка широты на дату записи №1, угловые секунды (между №1 и №2 меняется линейно)</source>
            <translation>Latitude correction at the date of record No.1, arcseconds (linear between No.1 and No.2)</translation>
        </message>
        <message>
            <source>Поправка широты на дату записи №2, угловые секунды</source>
            <translation>Latitude correction at the date of record No.2, arcseconds</translation>
        </message>
        <message>
            <source>Верхний предел отклонения по долготе, угловые секунды, для средних dLsr, dBsr</source>
            <translation>Upper limit of the longitude deviation, arcseconds, for the means dLsr, dBsr</translation>
        </message>
        <message>
            <source>Нижний предел отклонения по долготе, угловые секунды, для средних dLsr, dBsr</source>
            <translation>Lower limit of the longitude deviation, arcseconds, for the means dLsr, dBsr</translation>
        </message>
        <message>
            <source>Верхний предел отклонения по широте, угловые секунды, для средних dLsr, dBsr</source>
            <translation>Upper limit of the latitude deviation, arcseconds, for the means dLsr, dBsr</translation>
        </message>
        <message>
            <source>Нижний предел отклонения по широте, угловые секунды, для средних dLsr, dBsr</source>
            <translation>Lower limit of the latitude deviation, arcseconds, for the means dLsr, dBsr</translation>
        </message>
        <message>
            <source>k отбраковки: записи, чьи O-C дальше k сигм от среднего, не входят в сводку и подбор поправки</source>
            <translation>k of the clipping: records whose O-C lie more than k sigma from the mean are left out of the summary and the fit</translation>
        </message>
        <message>
            <source>Отклонение по долготе сравниваемой записи, угловые секунды (заполняет программа)</source>
            <translation>Longitude deviation of the record compared, arcseconds (filled in by the program)</translation>
        </message>
        <message>
            <source>Отклонение по широте сравниваемой записи, угловые секунды (заполняет программа)</source>
            <translation>Latitude deviation of the record compared, arcseconds (filled in by the program)</translation>
        </message>
        <message>
            <source>Среднее отклонение по долготе, угловые секунды (заполняет программа)</source>
            <translation>Mean longitude deviation, arcseconds (filled in by the program)</translation>
        </message>
        <message>
            <source>Среднее отклонение по широте, угловые секунды (заполняет программа)</source>
            <translation>Mean latitude deviation, arcseconds (filled in by the program)</translation>
        </message>
        <message>
            <source>Масштаб рисунка по отклонениям, угловых секунд на сантиметр</source>
            <translation>The plot's scale of the deviations, arcseconds per centimetre</translation>
        </message>
        <message>
            <source>Высота нулевой линии рисунка, сантиметры</source>
            <translation>The height of the plot's zero line, centimetres</translation>
        </message>
        <message>
            <source>Масштабы рисунка по данным прогона: время и отклонения занимают весь рисунок (окошки MT, MdP и +dP не учитываются)</source>
            <translation>Plot scales from the run's data: time and deviations fill the whole plot (the MT, MdP and +dP boxes are not used)</translation>
        </message>
        <message>
            <source>Сохранить рисунок как </source>
            <translation>Save the plot as </translation>
        </message>
        <message>
            <source>Размер рисунка</source>
            <translation>Picture size</translation>
        </message>
        <message>
            <source>Ширина, пикселей</source>
            <translation>Width, pixels</translation>
        </message>
        <message>
            <source>Высота, пикселей</source>
            <translation>Height, pixels</translation>
        </message>
        <message>
            <source>Показать весь рисунок</source>
            <translation>Show the whole plot</translation>
        </message>
        <message>
            <source>прочитанные программой данные</source>
            <translation>data as read by the program</translation>
        </message>
        <message>
            <source>не распознанные записи</source>
            <translation>records not recognised</translation>
        </message>
        <message>
            <source>первые данные</source>
            <translation>first data</translation>
        </message>
        <message>
            <source>всего прочитано  </source>
            <translation>read in all  </translation>
        </message>
        <message>
            <source>  записей</source>
            <translation>  records</translation>
        </message>
        <message>
            <source>данные забракованные по времени наблюдения</source>
            <translation>records rejected by their time of observation</translation>
        </message>
        <message>
            <source>удалено  </source>
            <translation>removed  </translation>
        </message>
        <message>
            <source>  записей с этими датами</source>
            <translation>  records with these dates</translation>
        </message>
        <message>
            <source>упорядочена  </source>
            <translation>sorted  </translation>
        </message>
        <message>
            <source>  запись</source>
            <translation>  records</translation>
        </message>
        <message>
            <source>координаты преобразованы в  </source>
            <translation>coordinates converted in  </translation>
        </message>
        <message>
            <source>  записях</source>
            <translation>  records</translation>
        </message>
        <message>
            <source>изменено время в  </source>
            <translation>time changed in  </translation>
        </message>
        <message>
            <source>РЕЗУЛЬТАТ КОМПИЛЯЦИИ</source>
            <translation>RESULT OF THE MERGE</translation>
        </message>
        <message>
            <source>совпадений в датах </source>
            <translation>dates coinciding </translation>
        </message>
        <message>
            <source>целиком вошли в объединение данные </source>
            <translation>went whole into the merge: data set </translation>
        </message>
        <message>
            <source>2 - исходные данные   1 и 3 - преобразованные  </source>
            <translation>2 - original data   1 and 3 - transformed  </translation>
        </message>
        <message>
            <source>(если показываются изменения после сравнения, </source>
            <translation>(when changes after a comparison are shown, </translation>
        </message>
        <message>
            <source>то 1 и 3- это 1-е данные, а 2- это 2-е данные)</source>
            <translation>1 and 3 are data set 1, and 2 is data set 2)</translation>
        </message>
        <message>
            <source>(если показываются изменения после сравнения теорий, </source>
            <translation>(when changes after a comparison of theories are shown, </translation>
        </message>
        <message>
            <source>то 1 - это 1-е данные, а 3- это 2-е данные)</source>
            <translation>1 is data set 1, and 3 is data set 2)</translation>
        </message>
        <message>
            <source>(если показываются изменения после объединения, </source>
            <translation>(when changes after a merge are shown, </translation>
        </message>
        <message>
            <source>то 1 - это 1-е данные, 2- это 2-е данные, а 3- это суммарные)</source>
            <translation>1 is data set 1, 2 is data set 2, and 3 the merged set)</translation>
        </message>
        <message>
            <source>ГЕО ЭКЛ J2000         GeoL  GeoB = </source>
            <translation>GEO ECL J2000         GeoL  GeoB = </translation>
        </message>
        <message>
            <source>ГЕО ЭКЛ J2000 Azv  GeoL  GeoB = </source>
            <translation>GEO ECL J2000 Azv  GeoL  GeoB = </translation>
        </message>
        <message>
            <source>ГЕО ЭКЛ J2000 Apl   GeoL  GeoB = </source>
            <translation>GEO ECL J2000 Apl   GeoL  GeoB = </translation>
        </message>
        <message>
            <source>ГЕО ЭКЛ JD              GeoL  GeoB = </source>
            <translation>GEO ECL JD              GeoL  GeoB = </translation>
        </message>
        <message>
            <source>ГЕО ЭКВ JD              GeoL  GeoB = </source>
            <translation>GEO EQU JD              GeoL  GeoB = </translation>
        </message>
        <message>
            <source>ГЕО ЭКВ JD  Ref      GeoL  GeoB = </source>
            <translation>GEO EQU JD  Ref      GeoL  GeoB = </translation>
        </message>
        <message>
            <source>ГЕО ЭКВ JD  Nut      GeoL  GeoB = </source>
            <translation>GEO EQU JD  Nut      GeoL  GeoB = </translation>
        </message>
        <message>
            <source>ГЕО ICRS геометрич.       RA  Dec = </source>
            <translation>GEO ICRS geometric        RA  Dec = </translation>
        </message>
        <message>
            <source>ГЕО ICRS световое время   RA  Dec = </source>
            <translation>GEO ICRS light time       RA  Dec = </translation>
        </message>
        <message>
            <source>ГЕО ICRS отклонение света RA  Dec = </source>
            <translation>GEO ICRS light deflection RA  Dec = </translation>
        </message>
        <message>
            <source>GCRS аберрация            RA  Dec = </source>
            <translation>GCRS aberration           RA  Dec = </translation>
        </message>
        <message>
            <source>ГЕО ЭКВ JD ср. (B+P)      RA  Dec = </source>
            <translation>GEO EQU JD mean (B+P)     RA  Dec = </translation>
        </message>
        <message>
            <source>ГЕО ЭКВ JD ист. (Nut)     RA  Dec = </source>
            <translation>GEO EQU JD true (Nut)     RA  Dec = </translation>
        </message>
        <message>
            <source>    свет. время </source>
            <translation>    light time </translation>
        </message>
        <message>
            <source>    откл. </source>
            <translation>    deflection </translation>
        </message>
        <message>
            <source>    аберр. </source>
            <translation>    aberration </translation>
        </message>
        <message>
            <source>    смещ.+прец. </source>
            <translation>    bias+precession </translation>
        </message>
        <message>
            <source>    нутация </source>
            <translation>    nutation </translation>
        </message>
        <message>
            <source>&#13;
ТОЧНО (IAU 2006/2000A)  TT= </source>
            <translation>&#13;
PRECISE (IAU 2006/2000A)  TT= </translation>
        </message>
        <message>
            <source>ТОЧНО (IAU 2006/2000A)   TT=  </source>
            <translation>PRECISE (IAU 2006/2000A)   TT=  </translation>
        </message>
        <message>
            <source> сек  свет= </source>
            <translation> s  light= </translation>
        </message>
        <message>
            <source> сек   свет=  </source>
            <translation> s   light=  </translation>
        </message>
        <message>
            <source> сек</source>
            <translation> s</translation>
        </message>
        <message>
            <source>&#13;
ГЕО ЭКВ JD  Ref           RA  Dec = </source>
            <translation>&#13;
GEO EQU JD  Ref           RA  Dec = </translation>
        </message>
        <message>
            <source>&#13;
результат </source>
            <translation>&#13;
result </translation>
        </message>
        <message>
            <source>ГЕО астрометр. ICRS        RA=  </source>
            <translation>GEO astrometric ICRS        RA=  </translation>
        </message>
        <message>
            <source>ГЕО GCRS (J2000)            RA=  </source>
            <translation>GEO GCRS (J2000)            RA=  </translation>
        </message>
        <message>
            <source>ГЕО видимое ист. JD        RA=  </source>
            <translation>GEO apparent true JD        RA=  </translation>
        </message>
        <message>
            <source>ГЕЛИО ЭКВ   J2000         L=  </source>
            <translation>HELIO EQU   J2000         L=  </translation>
        </message>
        <message>
            <source>    тыс.км</source>
            <translation>    thousand km</translation>
        </message>
        <message>
            <source>  тыс.км</source>
            <translation>  thousand km</translation>
        </message>
        <message>
            <source>     км/с</source>
            <translation>     km/s</translation>
        </message>
        <message>
            <source>ГЕО   ЭКВ   J2000           L=  </source>
            <translation>GEO   EQU   J2000           L=  </translation>
        </message>
        <message>
            <source>ГЕО   ЭКВ    JD               L=  </source>
            <translation>GEO   EQU    JD               L=  </translation>
        </message>
        <message>
            <source>эфемериды: </source>
            <translation>ephemeris: </translation>
        </message>
        <message>
            <source>, строка </source>
            <translation>, line </translation>
        </message>
        <message>
            <source>обсерватория </source>
            <translation>observatory </translation>
        </message>
        <message>
            <source>: нет координат (космический или подвижный наблюдатель)</source>
            <translation>: no coordinates (space or roving observer)</translation>
        </message>
        <message>
            <source>строка короче 30 знаков</source>
            <translation>line shorter than 30 characters</translation>
        </message>
        <message>
            <source>неверный код MPC</source>
            <translation>bad MPC code</translation>
        </message>
        <message>
            <source>неверный код</source>
            <translation>bad code</translation>
        </message>
        <message>
            <source>не число</source>
            <translation>not a number</translation>
        </message>
        <message>
            <source>долгота вне допустимых пределов</source>
            <translation>longitude out of range</translation>
        </message>
        <message>
            <source>расстояние от центра Земли вне 0..1,01</source>
            <translation>distance from the Earth's centre outside 0..1.01</translation>
        </message>
        <message>
            <source>широта вне -90..90</source>
            <translation>latitude outside -90..90</translation>
        </message>
        <message>
            <source>высота вне -500..9000 м</source>
            <translation>height outside -500..9000 m</translation>
        </message>
        <message>
            <source>код уже был выше</source>
            <translation>code already listed above</translation>
        </message>
        <message>
            <source>Поправка по МНК, записи №</source>
            <translation>Least-squares correction, records №</translation>
        </message>
        <message>
            <source>: O-C = a + b·(t - t0), t в годах</source>
            <translation>: O-C = a + b·(t - t0), t in years</translation>
        </message>
        <message>
            <source>не подобрана: меньше 2 записей с разными датами</source>
            <translation>not fitted: fewer than 2 records at different dates</translation>
        </message>
        <message>
            <source> "/год, t0 = </source>
            <translation> "/year, t0 = </translation>
        </message>
        <message>
            <source>, ковариация a, b = </source>
            <translation>, covariance a, b = </translation>
        </message>
        <message>
            <source>, корреляция </source>
            <translation>, correlation </translation>
        </message>
        <message>
            <source>", записей </source>
            <translation>", records </translation>
        </message>
        <message>
            <source>веса 1/σ², χ²/ст. св. = </source>
            <translation>weights 1/σ², χ²/dof = </translation>
        </message>
        <message>
            <source>равные веса, ошибки по разбросу</source>
            <translation>equal weights, uncertainties from the scatter</translation>
        </message>
        <message>
            <source>Поправка к загруженным данным, снимающая их O-C по прямой, записана в dLn, dLk, dBn, dBk: отметьте </source>
            <translation>The correction of the loaded data that removes their O-C along the line is in dLn, dLk, dBn, dBk: tick </translation>
        </message>
        <message>
            <source>"+ скорректировать данные" и сравните снова</source>
            <translation>"+ correct data" and compare again</translation>
        </message>
        <message>
            <source>Записи, отбракованные по k·σ, в подборе не участвуют</source>
            <translation>Records rejected at k·σ take no part in the fit</translation>
        </message>
        <message>
            <source>не шесть полей</source>
            <translation>not six fields</translation>
        </message>
        <message>
            <source>неверная дата</source>
            <translation>bad date</translation>
        </message>
        <message>
            <source>последняя дата раньше первой</source>
            <translation>last date before the first</translation>
        </message>
        <message>
            <source>сигма не число</source>
            <translation>sigma is not a number</translation>
        </message>
        <message>
            <source>сигма не больше нуля</source>
            <translation>sigma not above zero</translation>
        </message>
        <message>
            <source>Нет данных для записи: загрузите исходные данные</source>
            <translation>No data to write: load the source data first</translation>
        </message>
        <message>
            <source>&lt;код&gt;&lt;объект&gt;_G_&lt;№&gt;.txt (_R_, _D_, _T_, _H_ вместо _G_)</source>
            <translation>&lt;code&gt;&lt;object&gt;_G_&lt;No&gt;.txt (_R_, _D_, _T_, _H_ in place of _G_)</translation>
        </message>
        <message>
            <source>&lt;код&gt;_&lt;№&gt;.txt</source>
            <translation>&lt;code&gt;_&lt;No&gt;.txt</translation>
        </message>
        <message>
            <source>Tab&lt;код&gt;</source>
            <translation>Tab&lt;code&gt;</translation>
        </message>
        <message>
            <source>&lt;код&gt;&lt;объект&gt;_G_&lt;№&gt;.xls, .xlsx или .ods (_R_, _D_, _T_, _H_ вместо _G_)</source>
            <translation>&lt;code&gt;&lt;object&gt;_G_&lt;No&gt;.xls, .xlsx or .ods (_R_, _D_, _T_, _H_ in place of _G_)</translation>
        </message>
        <message>
            <source>&lt;код&gt;&lt;объект&gt;_&lt;№&gt;.txt</source>
            <translation>&lt;code&gt;&lt;object&gt;_&lt;No&gt;.txt</translation>
        </message>
        <message>
            <source>&lt;код&gt;&lt;объект&gt;_&lt;№&gt;.psv или .xml</source>
            <translation>&lt;code&gt;&lt;object&gt;_&lt;No&gt;.psv or .xml</translation>
        </message>
        <message>
            <source>Файл не в папке исходных данных (FileDov, FileJPL, FileMPC, FileADES, Tab&lt;код&gt;): </source>
            <translation>The file is not in a folder of source data (FileDov, FileJPL, FileMPC, FileADES, Tab&lt;code&gt;): </translation>
        </message>
        <message>
            <source>Открыть исходный файл</source>
            <translation>Open a source file</translation>
        </message>
        <message>
            <source>Исходные данные (*.txt *.xls *.xlsx *.ods *.psv *.xml)</source>
            <translation>Source data (*.txt *.xls *.xlsx *.ods *.psv *.xml)</translation>
        </message>
        <message>
            <source>Файл BDL для записи</source>
            <translation>BDL file to write</translation>
        </message>
        <message>
            <source>Файлы BDL (*.txt)</source>
            <translation>BDL files (*.txt)</translation>
        </message>
        <message>
            <source>Имя обсерватории</source>
            <translation>Observatory code</translation>
        </message>
        <message>
            <source>объект наблюдения №</source>
            <translation>object observed No.</translation>
        </message>
        <message>
            <source>всего данных</source>
            <translation>all records</translation>
        </message>
        <message>
            <source>хороших</source>
            <translation>good</translation>
        </message>
        <message>
            <source>плохих </source>
            <translation>bad </translation>
        </message>
        <message>
            <source>время</source>
            <translation>time</translation>
        </message>
        <message>
            <source>эпоха</source>
            <translation>epoch</translation>
        </message>
        <message>
            <source>год</source>
            <translation>year</translation>
        </message>
        <message>
            <source>месяц</source>
            <translation>month</translation>
        </message>
        <message>
            <source>день</source>
            <translation>day</translation>
        </message>
        <message>
            <source>часы</source>
            <translation>hours</translation>
        </message>
        <message>
            <source>мин.</source>
            <translation>min.</translation>
        </message>
        <message>
            <source>сек.</source>
            <translation>sec.</translation>
        </message>
        <message>
            <source>разделитель в таблицах</source>
            <translation>separator in tables</translation>
        </message>
        <message>
            <source>Широта задана от</source>
            <translation>Latitude counted from</translation>
        </message>
        <message>
            <source>Широта B</source>
            <translation>Latitude B</translation>
        </message>
        <message>
            <source>Долгота L </source>
            <translation>Longitude L </translation>
        </message>
        <message>
            <source>Дата наблюдений в формате</source>
            <translation>Date of observation as</translation>
        </message>
        <message>
            <source>календарь</source>
            <translation>calendar</translation>
        </message>
        <message>
            <source>по параметру</source>
            <translation>by parameter</translation>
        </message>
        <message>
            <source>запятая</source>
            <translation>comma</translation>
        </message>
        <message>
            <source>точка</source>
            <translation>point</translation>
        </message>
        <message>
            <source>полюса</source>
            <translation>the pole</translation>
        </message>
        <message>
            <source>экватора</source>
            <translation>the equator</translation>
        </message>
        <message>
            <source>Григор</source>
            <translation>Gregor.</translation>
        </message>
        <message>
            <source>Юлиан</source>
            <translation>Julian</translation>
        </message>
        <message>
            <source>Создать массивы с N=</source>
            <translation>Create arrays with N=</translation>
        </message>
        <message>
            <source>Загрузить исходные данные из</source>
            <translation>Load source data from</translation>
        </message>
        <message>
            <source>Сохранить данные в формате BDL</source>
            <translation>Save as BDL file</translation>
        </message>
        <message>
            <source>К форме 2</source>
            <translation>To form 2</translation>
        </message>
        <message>
            <source>Выход</source>
            <translation>Exit</translation>
        </message>
        <message>
            <source>Открыть…</source>
            <translation>Open…</translation>
        </message>
        <message>
            <source>Недавние</source>
            <translation>Recent</translation>
        </message>
        <message>
            <source>Выбрать…</source>
            <translation>Choose…</translation>
        </message>
        <message>
            <source>По умолчанию</source>
            <translation>Restore defaults</translation>
        </message>
        <message>
            <source>Преобразование формата данных Planova - форма 1</source>
            <translation>Planova data format conversion - form 1</translation>
        </message>
        <message>
            <source>в файл</source>
            <translation>to file</translation>
        </message>
        <message>
            <source>dT, сек</source>
            <translation>dT, s</translation>
        </message>
        <message>
            <source>Желательно увеличить размер массива</source>
            <translation>Better enlarge the array</translation>
        </message>
        <message>
            <source>Ошибка открытия файла</source>
            <translation>Error opening file</translation>
        </message>
        <message>
            <source>увеличьте массивы данных</source>
            <translation>enlarge the data arrays</translation>
        </message>
        <message>
            <source>Нет данных для записи: загрузите данные</source>
            <translation>No data to write: load the data first</translation>
        </message>
        <message>
            <source>Задайте правильно номера записей: с № от 1 до по №, не больше размера массивов</source>
            <translation>Enter valid record numbers: from No. at least 1 to No., not beyond the size of the arrays</translation>
        </message>
        <message>
            <source>Задайте правильно номера записей: по № не больше числа загруженных записей (</source>
            <translation>Enter valid record numbers: to No. not beyond the number of records loaded (</translation>
        </message>
        <message>
            <source>&lt;код&gt;&lt;объект&gt;_G_&lt;№&gt;.txt (_R_, _D_, _GLB_, _GT_, _T_, _H_ вместо _G_)</source>
            <translation>&lt;code&gt;&lt;object&gt;_G_&lt;No&gt;.txt (_R_, _D_, _GLB_, _GT_, _T_, _H_ in place of _G_)</translation>
        </message>
        <message>
            <source>Открыть файл BDL</source>
            <translation>Open a BDL file</translation>
        </message>
        <message>
            <source>Номер планеты должен быть от 1 до 9 или 11</source>
            <translation>The planet number must be 1 to 9 or 11</translation>
        </message>
        <message>
            <source>внимание: ET-UT модели отличается от TT-UTC по таблице на </source>
            <translation>warning: the ET-UT model differs from TT-UTC of the table by </translation>
        </message>
        <message>
            <source> сек (</source>
            <translation> s (</translation>
        </message>
        <message>
            <source>): для времён UTC выберите "TT-UTC по таблице"</source>
            <translation>): for UTC times choose "TT-UTC from the table"</translation>
        </message>
        <message>
            <source>Надо загрузить данные</source>
            <translation>Load the data first</translation>
        </message>
        <message>
            <source>Эпоха данных 1 "</source>
            <translation>Epoch of data 1 "</translation>
        </message>
        <message>
            <source>" не известна: для сравнения с теорией нужна эпоха App, B1950 или J2000</source>
            <translation>" is not known: a comparison with theory needs epoch App, B1950 or J2000</translation>
        </message>
        <message>
            <source>Сравнение закончено: следующей записи нет</source>
            <translation>Comparison finished: no next record</translation>
        </message>
        <message>
            <source>Ошибка в расчетах</source>
            <translation>Error in the computation</translation>
        </message>
        <message>
            <source>№ объекта</source>
            <translation>Object No.</translation>
        </message>
        <message>
            <source>№ файла</source>
            <translation>File No.</translation>
        </message>
        <message>
            <source>по №</source>
            <translation>to</translation>
        </message>
        <message>
            <source>с №</source>
            <translation>from</translation>
        </message>
        <message>
            <source>при dT, сек= </source>
            <translation>with dT, sec= </translation>
        </message>
        <message>
            <source>ET-UT,сек</source>
            <translation>ET-UT, sec</translation>
        </message>
        <message>
            <source>JPL0 до</source>
            <translation>JPL0 until</translation>
        </message>
        <message>
            <source>MT, лет/см</source>
            <translation>MT, years/cm</translation>
        </message>
        <message>
            <source>MdP,  угл. сек / см    (сек / см)</source>
            <translation>MdP, arcsec / cm    (sec / cm)</translation>
        </message>
        <message>
            <source>+dP, угл.сек(сек)</source>
            <translation>+dP, arcsec (sec)</translation>
        </message>
        <message>
            <source>цвет dL</source>
            <translation>color dL</translation>
        </message>
        <message>
            <source>цвет dB</source>
            <translation>color dB</translation>
        </message>
        <message>
            <source>цвет dT</source>
            <translation>color dT</translation>
        </message>
        <message>
            <source>эфемериды</source>
            <translation>ephemeris</translation>
        </message>
        <message>
            <source>исключить №</source>
            <translation>exclude No.</translation>
        </message>
        <message>
            <source>данные №</source>
            <translation>data set No.</translation>
        </message>
        <message>
            <source>в эпоху</source>
            <translation>to epoch</translation>
        </message>
        <message>
            <source>данные 1 (сравнение)</source>
            <translation>data 1 (comparison)</translation>
        </message>
        <message>
            <source>данные 2 (сравнение)</source>
            <translation>data 2 (comparison)</translation>
        </message>
        <message>
            <source>к теоретическим, т.е. геометрическим, координатам JPL добавить </source>
            <translation>add to the theoretical (geometric) JPL coordinates </translation>
        </message>
        <message>
            <source>1 (Hor, Topo всегда №1)</source>
            <translation>1 (Hor, Topo always No.1)</translation>
        </message>
        <message>
            <source>с начала</source>
            <translation>from start</translation>
        </message>
        <message>
            <source>с конца</source>
            <translation>from end</translation>
        </message>
        <message>
            <source>из файла</source>
            <translation>from file</translation>
        </message>
        <message>
            <source>+Текст</source>
            <translation>+Text</translation>
        </message>
        <message>
            <source>По шагам</source>
            <translation>Stepwise</translation>
        </message>
        <message>
            <source>с 1700</source>
            <translation>1700 on</translation>
        </message>
        <message>
            <source>+№ в примечаниях</source>
            <translation>+No. in notes</translation>
        </message>
        <message>
            <source>+График</source>
            <translation>+Plot</translation>
        </message>
        <message>
            <source>+ очистка рисунка</source>
            <translation>+ clear plot</translation>
        </message>
        <message>
            <source>по данным</source>
            <translation>fit to data</translation>
        </message>
        <message>
            <source>точно (IAU 2006)</source>
            <translation>precise (IAU 2006)</translation>
        </message>
        <message>
            <source>астрометрическое (ICRS)</source>
            <translation>astrometric (ICRS)</translation>
        </message>
        <message>
            <source>TT-UTC по таблице</source>
            <translation>TT-UTC from the table</translation>
        </message>
        <message>
            <source>топоцентр.</source>
            <translation>topocentric</translation>
        </message>
        <message>
            <source>отбраковка k·σ</source>
            <translation>k·σ rejection</translation>
        </message>
        <message>
            <source>совместно</source>
            <translation>jointly</translation>
        </message>
        <message>
            <source>Загрузить в формате BDL</source>
            <translation>Load BDL file</translation>
        </message>
        <message>
            <source>Почистить</source>
            <translation>Clean</translation>
        </message>
        <message>
            <source>Упорядочить данные</source>
            <translation>Sort data</translation>
        </message>
        <message>
            <source>Изменить время</source>
            <translation>Change time</translation>
        </message>
        <message>
            <source>Объединить данные 1 и данные 2</source>
            <translation>Merge data 1 and data 2</translation>
        </message>
        <message>
            <source>Перевести из эпохи</source>
            <translation>Convert from epoch</translation>
        </message>
        <message>
            <source>Показать изменения</source>
            <translation>Show changes</translation>
        </message>
        <message>
            <source>Записать результат в</source>
            <translation>Write result to</translation>
        </message>
        <message>
            <source>Сравнить данные 1 с данными 2</source>
            <translation>Compare data 1 with data 2</translation>
        </message>
        <message>
            <source>сделать 1 шаг</source>
            <translation>one step</translation>
        </message>
        <message>
            <source>К форме 3</source>
            <translation>To form 3</translation>
        </message>
        <message>
            <source>Преобразование формата данных Planova - форма 2</source>
            <translation>Planova data format conversion - form 2</translation>
        </message>
        <message>
            <source>файл</source>
            <translation>file</translation>
        </message>
        <message>
            <source>объединённые данные окна 2</source>
            <translation>merged data of window 2</translation>
        </message>
        <message>
            <source>Увеличьте массивы данных</source>
            <translation>Enlarge the data arrays</translation>
        </message>
        <message>
            <source> сек  TDB-TT= </source>
            <translation> s  TDB-TT= </translation>
        </message>
        <message>
            <source>&#13;
топоцентр.: станция </source>
            <translation>
topocentric: station </translation>
        </message>
        <message>
            <source>ET-UT: TT-UTC по таблице (ERFA)</source>
            <translation>ET-UT: TT-UTC from the table (ERFA)</translation>
        </message>
        <message>
            <source>ET-UT: с 1700 (до 1960 таблицы нет)</source>
            <translation>ET-UT: 1700 on (no table before 1960)</translation>
        </message>
        <message>
            <source>астрометрическое (ICRS) - только с "точно (IAU 2006)", JPL2 и эпохой App или J2000: место видимое</source>
            <translation>astrometric (ICRS) - only with "precise (IAU 2006)", JPL2 and epoch App or J2000: the place is apparent</translation>
        </message>
        <message>
            <source>с №1</source>
            <translation>No.1</translation>
        </message>
        <message>
            <source>по №2</source>
            <translation>No.2</translation>
        </message>
        <message>
            <source>№1: год, месяц, день</source>
            <translation>No.1: year, month, day</translation>
        </message>
        <message>
            <source>№2: год, месяц, день</source>
            <translation>No.2: year, month, day</translation>
        </message>
        <message>
            <source>сейчас: год, месяц, день</source>
            <translation>now: year, month, day</translation>
        </message>
        <message>
            <source>сравнено</source>
            <translation>compared</translation>
        </message>
        <message>
            <source>MdP,  угл. сек / см  </source>
            <translation>MdP, arcsec / cm  </translation>
        </message>
        <message>
            <source>+dP, см</source>
            <translation>+dP, cm</translation>
        </message>
        <message>
            <source>данными</source>
            <translation>data</translation>
        </message>
        <message>
            <source>+ скорректировать данные</source>
            <translation>+ correct data</translation>
        </message>
        <message>
            <source>+ учитывать для dLsr, dBsr</source>
            <translation>+ use for dLsr, dBsr</translation>
        </message>
        <message>
            <source>Записать результат в файл</source>
            <translation>Write result to file</translation>
        </message>
        <message>
            <source>Сравнить данные наблюдений с</source>
            <translation>Compare observations with</translation>
        </message>
        <message>
            <source>Подобрать поправку (МНК)</source>
            <translation>Fit correction (LSQ)</translation>
        </message>
        <message>
            <source>Остановить сравнение</source>
            <translation>Stop comparison</translation>
        </message>
        <message>
            <source>Очистить рисунок</source>
            <translation>Clear plot</translation>
        </message>
        <message>
            <source>Закрыть форму</source>
            <translation>Close form</translation>
        </message>
        <message>
            <source>&lt;код&gt;&lt;объект&gt;_G_&lt;№&gt;.txt</source>
            <translation>&lt;code&gt;&lt;object&gt;_G_&lt;No&gt;.txt</translation>
        </message>
        <message>
            <source>Преобразование формата данных Planova - форма 3</source>
            <translation>Planova data format conversion - form 3</translation>
        </message>
        <message>
            <source>Задайте правильно номера записей: с №1 от 1 по №2 не больше числа загруженных записей (</source>
            <translation>Enter valid record numbers: from No.1 at least 1 to No.2 not beyond the number of records loaded (</translation>
        </message>
        <message>
            <source>Задайте правильно номера записей: №1 больше №2</source>
            <translation>Enter valid record numbers: No.1 is greater than No.2</translation>
        </message>
        <message>
            <source>Не могу найти эту точку</source>
            <translation>Cannot find this point</translation>
        </message>
        <message>
            <source>Эпоха данных "</source>
            <translation>Epoch of the data "</translation>
        </message>
        <message>
            <source>" не известна: нужна эпоха App, B1950 или J2000</source>
            <translation>" is not known: epoch App, B1950 or J2000 is needed</translation>
        </message>
        <message>
            <source>отклонение наблюдательных данных от расчетных (средние значения увеличены в 10 раз)</source>
            <translation>deviation of the observations from theory (means enlarged ten times)</translation>
        </message>
        <message>
            <source>JPL2: точная редукция (IAU 2006/2000A)</source>
            <translation>JPL2: precise reduction (IAU 2006/2000A)</translation>
        </message>
        <message>
            <source>место: астрометрическое (ICRS)</source>
            <translation>place: astrometric (ICRS)</translation>
        </message>
        <message>
            <source>место: топоцентрическое, со станции каждой записи</source>
            <translation>place: topocentric, from each record's station</translation>
        </message>
        <message>
            <source>ET-UT: TT-UTC по таблице (ERFA) с 1960, до 1960 с 1700</source>
            <translation>ET-UT: TT-UTC from the table (ERFA) from 1960, 1700 on before 1960</translation>
        </message>
        <message>
            <source>×: отбраковано по k·σ</source>
            <translation>×: rejected at k·σ</translation>
        </message>
        <message>
            <source>Δα: прямое восхождение</source>
            <translation>Δα: right ascension</translation>
        </message>
        <message>
            <source>Δδ: склонение</source>
            <translation>Δδ: declination</translation>
        </message>
        <message>
            <source>dLsr, dBsr: средние × 10</source>
            <translation>dLsr, dBsr: means × 10</translation>
        </message>
        <message>
            <source>Δα, среднее</source>
            <translation>Δα, mean</translation>
        </message>
        <message>
            <source>Δδ, среднее</source>
            <translation>Δδ, mean</translation>
        </message>
        <message>
            <source>исправленные данные окна 3</source>
            <translation>corrected data of window 3</translation>
        </message>
        <message>
            <source>Данные сравнения изменились: начните сравнение заново</source>
            <translation>Comparison data changed: start the comparison again</translation>
        </message>
        <message>
            <source>Поправку не подобрать: нужны хотя бы 2 записи с разными датами, сравненные с теорией </source>
            <translation>No correction can be fitted: it needs at least 2 records at different dates compared with theory </translation>
        </message>
        <message>
            <source>(сравните данные наблюдений с теорией)</source>
            <translation>(compare the observations with theory)</translation>
        </message>
    </context>
</TS>
